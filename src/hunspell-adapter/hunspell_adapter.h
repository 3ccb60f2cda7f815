/* The seven entry points of the spelling library that the plug-in loads at run time.
 * All strings are zero-terminated 8-bit strings: paths as the file system spells them,
 * words in the dictionary's own encoding. */
#ifndef RYVEL_HUNSPELL_ADAPTER_H
#define RYVEL_HUNSPELL_ADAPTER_H

#ifdef __cplusplus
extern "C" {
#endif

#define RYVEL_ADAPTER_EXPORT __attribute__((visibility("default")))

/* Opens a dictionary from its affix file and its dictionary file. Null when either file
 * is not a readable regular file or when Hunspell cannot be created. */
RYVEL_ADAPTER_EXPORT void* hunspell_initialize(const char* aff_file, const char* dict_file);
/* Closes a dictionary; a null handle is ignored. */
RYVEL_ADAPTER_EXPORT void hunspell_uninitialize(void* handle);
/* Nonzero when the word is correct; 0 for a null handle or word. */
RYVEL_ADAPTER_EXPORT int hunspell_spell(void* handle, const char* word);
/* Stores in *suggestions an array of the returned number of strings, owned by the library:
 * hand it back with hunspell_suggest_free, also when the count is 0. */
RYVEL_ADAPTER_EXPORT int hunspell_suggest(void* handle, const char* word, char*** suggestions);
/* Releases an array that hunspell_suggest returned, with the count it returned. */
RYVEL_ADAPTER_EXPORT void hunspell_suggest_free(void* handle, char** suggestions, int count);
/* The name of the dictionary's character encoding, owned by the library; null for a null
 * handle. */
RYVEL_ADAPTER_EXPORT char* hunspell_get_dic_encoding(void* handle);
/* Adds a word to the run-time dictionary; 0 on success. */
RYVEL_ADAPTER_EXPORT int hunspell_add(void* handle, const char* word);

#ifdef __cplusplus
}
#endif

#endif
