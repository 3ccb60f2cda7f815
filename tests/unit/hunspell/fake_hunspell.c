/* A stand-in spelling library for the binding's tests: it knows the words of the .dic file
 * (flags stripped), reports a settable encoding and suggestion list, and records how it is
 * called. Built once with all seven entry points and once without hunspell_add. */
#include "hunspell_adapter.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FAKE_EXPORT __attribute__((visibility("default")))
#define FAKE_MAX_WORDS 64
#define FAKE_MAX_WORD 128

static struct {
  int fail_initialize;
  int encoding_is_null;
  char encoding[64];
  char words[FAKE_MAX_WORDS][FAKE_MAX_WORD];
  int word_count;
  char suggestions[8][FAKE_MAX_WORD];
  int suggestion_count;
  int open_handles;
  int spell_calls;
  int suggest_calls;
  int suggest_free_calls;
  int suggest_free_matched;
  char** handed_out;
  int handed_out_count;
  char last_word[FAKE_MAX_WORD * 2];
  char last_aff[1024];
  char last_dic[1024];
} fake;

static int handle_token;

FAKE_EXPORT void fake_reset(void) {
  memset(&fake, 0, sizeof fake);
  strcpy(fake.encoding, "UTF-8");
}

FAKE_EXPORT void fake_set_encoding(const char* name) {
  fake.encoding_is_null = name == NULL;
  snprintf(fake.encoding, sizeof fake.encoding, "%s", name != NULL ? name : "");
}

FAKE_EXPORT void fake_fail_initialize(int fail) { fake.fail_initialize = fail; }

FAKE_EXPORT void fake_set_suggestions(const char* const* list, int count) {
  fake.suggestion_count = count < 8 ? count : 8;
  for (int i = 0; i < fake.suggestion_count; ++i)
    snprintf(fake.suggestions[i], FAKE_MAX_WORD, "%s", list[i]);
}

FAKE_EXPORT int fake_spell_calls(void) { return fake.spell_calls; }
FAKE_EXPORT int fake_suggest_calls(void) { return fake.suggest_calls; }
FAKE_EXPORT int fake_suggest_free_calls(void) { return fake.suggest_free_calls; }
FAKE_EXPORT int fake_suggest_free_matched(void) { return fake.suggest_free_matched; }
FAKE_EXPORT int fake_open_handles(void) { return fake.open_handles; }
FAKE_EXPORT const char* fake_last_word(void) { return fake.last_word; }
FAKE_EXPORT const char* fake_last_aff(void) { return fake.last_aff; }
FAKE_EXPORT const char* fake_last_dic(void) { return fake.last_dic; }

static void read_words(const char* dic) {
  FILE* f = fopen(dic, "rb");
  char line[FAKE_MAX_WORD];
  fake.word_count = 0;
  if (f == NULL)
    return;
  if (fgets(line, sizeof line, f) != NULL) /* the count line */
    while (fake.word_count < FAKE_MAX_WORDS && fgets(line, sizeof line, f) != NULL) {
      line[strcspn(line, "/\r\n")] = '\0';
      if (line[0] != '\0')
        strcpy(fake.words[fake.word_count++], line);
    }
  fclose(f);
}

void* hunspell_initialize(const char* aff_file, const char* dict_file) {
  snprintf(fake.last_aff, sizeof fake.last_aff, "%s", aff_file != NULL ? aff_file : "");
  snprintf(fake.last_dic, sizeof fake.last_dic, "%s", dict_file != NULL ? dict_file : "");
  if (fake.fail_initialize || dict_file == NULL)
    return NULL;
  read_words(dict_file);
  ++fake.open_handles;
  return &handle_token;
}

void hunspell_uninitialize(void* handle) {
  if (handle == &handle_token)
    --fake.open_handles;
}

int hunspell_spell(void* handle, const char* word) {
  ++fake.spell_calls;
  snprintf(fake.last_word, sizeof fake.last_word, "%s", word != NULL ? word : "");
  if (handle != &handle_token || word == NULL)
    return 0;
  for (int i = 0; i < fake.word_count; ++i)
    if (strcmp(fake.words[i], word) == 0)
      return 1;
  return 0;
}

int hunspell_suggest(void* handle, const char* word, char*** suggestions) {
  ++fake.suggest_calls;
  snprintf(fake.last_word, sizeof fake.last_word, "%s", word != NULL ? word : "");
  *suggestions = NULL;
  if (handle != &handle_token)
    return 0;
  /* Even an empty answer comes as an allocated array that must be handed back. */
  char** list = malloc(sizeof(char*) * (size_t)(fake.suggestion_count + 1));
  for (int i = 0; i < fake.suggestion_count; ++i)
    list[i] = strdup(fake.suggestions[i]);
  fake.handed_out = list;
  fake.handed_out_count = fake.suggestion_count;
  *suggestions = list;
  return fake.suggestion_count;
}

void hunspell_suggest_free(void* handle, char** suggestions, int count) {
  (void)handle;
  ++fake.suggest_free_calls;
  if (suggestions == fake.handed_out && count == fake.handed_out_count)
    ++fake.suggest_free_matched;
  if (suggestions == NULL)
    return;
  for (int i = 0; i < count; ++i)
    free(suggestions[i]);
  free(suggestions);
  if (suggestions == fake.handed_out)
    fake.handed_out = NULL;
}

char* hunspell_get_dic_encoding(void* handle) {
  if (handle != &handle_token || fake.encoding_is_null)
    return NULL;
  return fake.encoding;
}

#ifndef FAKE_WITHOUT_ADD
int hunspell_add(void* handle, const char* word) {
  (void)handle;
  (void)word;
  return 0;
}
#endif
