// The two key=value files in the host's plug-in folder that the plug-in family
// shares: "rzpluginprefs.txt" (window preferences, read and rewritten by this
// plug-in) and "rzpluginoptions.txt" (family-wide display options, only read).
#pragma once

class TCSettingsPair;
class TCSettingsPairs;
class TCString;
class TCStrings;
class TCTextFileStream;

// A stream, owned by the caller and not yet open, on the preferences file
// (preferences true) or the options file, in the folder the host names now.
TCTextFileStream* CreatePluginTextFile(bool preferences);

// One pair per line that holds "=" after a key that is not blank: the text
// before the first "=" is the key, all after it the value, both trimmed of
// white space. A UTF-8 byte-order mark before the first line's key is not
// part of it. Owned by the caller; empty for null lines.
TCSettingsPairs* ParsePairs(const TCStrings* lines);

// How a read of the preferences file went.
enum class PreferencesRead {
  Absent,  // there is no such file: writing one loses nothing
  Read,    // every line was read
  Failed   // the file is there but was not read whole: it must not be rewritten
};

// The pairs of the preferences file, owned by the caller; empty unless the
// whole file was read. When given, *read tells how the read went.
TCSettingsPairs* ReadPreferencesFile(PreferencesRead* read = nullptr);

// Rewrites the preferences file with one "key=value" line per pair, in order.
// False when the file does not open or a write fails; the file then holds
// what it held before, or, when even putting that back failed, a copy of it
// lies beside it ("rzpluginprefs.txt.bak1" or the next free number).
bool WritePairsToFile(const TCSettingsPairs* pairs);

// Reads the preferences file and writes it back with each of our keys set:
// the first line that holds the key gets its new value, a key no line holds
// gets a line at the end. Every other line (other plug-ins' keys, comments,
// lines without "=") and a byte-order mark at the start stay byte for byte
// where they stood; only line ends become the system's own. False, with the
// file left as it is, when its read failed or the write failed.
bool UpdatePreferencesFile(const TCSettingsPairs* ours);

// A copy of the options file's first pair for key, owned by the caller; null
// when the file does not open or holds no such key.
TCSettingsPair* ReadOption(const TCString* key);
