// The page's calls into the engine, as C functions of the WebAssembly module.
// Strings are UTF-8 and NUL-terminated; a returned pointer stays valid until
// the next call. No call throws or aborts: each answers a value.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Opens a score from the bytes of its file (.musicxml, .xml or .mxl; the
// name's ending and the bytes decide). 1, or 0 with rz_message() saying why.
int rz_open(const unsigned char* bytes, int size, const char* name);
// The last error message, or "".
const char* rz_message(void);
// JSON array of the warnings the open gave.
const char* rz_warnings(void);
// The open score's MusicXML text (UTF-8, declared so, no byte-order mark)
// with id="rzn-N" on every <note>, N its index among all <note> elements in
// document order from 0. "" when no score is open.
const char* rz_score_text(void);
// JSON of the option table the profile editor is built from.
const char* rz_options(void);
// JSON of the profiles in the text of a profiles file.
const char* rz_profiles_read(const char* xmlText);
// The text of a profiles file for the profiles JSON, written into the profiles
// file the user opened (baseXml; null or "" for a new file) so that the rest of
// that file stays; "" with rz_message() on bad JSON or XML.
const char* rz_profiles_write(const char* profilesJson, const char* baseXml);
// Scans the whole open score: the report's JSON with the findings' note
// indexes, or {"error":"message"}.
const char* rz_scan(const char* profilesXml, const char* profileName, int layerMask);
// Applies the chosen findings of the last scan once and writes the file
// outputName. The number of bytes written, or -1 with rz_message().
int rz_apply(const char* choicesJson, int brackets, const char* color, const char* outputName);
// The bytes the last apply or clean made.
const unsigned char* rz_output(void);
int rz_output_size(void);
// Takes out what an earlier apply added. How many accidentals were taken
// out, or -1 with rz_message().
int rz_clean(const unsigned char* bytes, int size, const char* name, const char* outputName);

#ifdef __cplusplus
}
#endif
