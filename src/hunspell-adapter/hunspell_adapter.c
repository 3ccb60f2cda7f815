/* A thin layer over the distribution's Hunspell C interface that gives the plug-in the
 * seven entry points it resolves by name. Every entry point tolerates null arguments, so
 * a caller's mistake answers with the failure value instead of crashing the host. */
#include "hunspell_adapter.h"

#include <hunspell.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

/* Hunspell opens missing or unreadable files without complaint and then rejects every word;
 * testing the files first turns that into a visible initialisation failure. */
static int is_readable_file(const char* path) {
  struct stat st;
  if (path == NULL || stat(path, &st) != 0 || !S_ISREG(st.st_mode))
    return 0;
  FILE* f = fopen(path, "rb");
  if (f == NULL)
    return 0;
  fclose(f);
  return 1;
}

void* hunspell_initialize(const char* aff_file, const char* dict_file) {
  if (!is_readable_file(aff_file) || !is_readable_file(dict_file))
    return NULL;
  return Hunspell_create(aff_file, dict_file);
}

void hunspell_uninitialize(void* handle) {
  if (handle != NULL)
    Hunspell_destroy((Hunhandle*)handle);
}

int hunspell_spell(void* handle, const char* word) {
  if (handle == NULL || word == NULL)
    return 0;
  return Hunspell_spell((Hunhandle*)handle, word);
}

int hunspell_suggest(void* handle, const char* word, char*** suggestions) {
  if (suggestions == NULL)
    return 0;
  *suggestions = NULL;
  if (handle == NULL || word == NULL)
    return 0;
  int n = Hunspell_suggest((Hunhandle*)handle, suggestions, word);
  if (n <= 0) {
    /* Nothing to hand out: release whatever Hunspell may have allocated right here. */
    if (*suggestions != NULL)
      Hunspell_free_list((Hunhandle*)handle, suggestions, n < 0 ? 0 : n);
    *suggestions = NULL;
    return 0;
  }
  return n;
}

void hunspell_suggest_free(void* handle, char** suggestions, int count) {
  if (handle == NULL || suggestions == NULL)
    return;
  Hunspell_free_list((Hunhandle*)handle, &suggestions, count < 0 ? 0 : count);
}

char* hunspell_get_dic_encoding(void* handle) {
  if (handle == NULL)
    return NULL;
  return Hunspell_get_dic_encoding((Hunhandle*)handle);
}

int hunspell_add(void* handle, const char* word) {
  if (handle == NULL || word == NULL)
    return 1;
  return Hunspell_add((Hunhandle*)handle, word);
}
