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

// One pair per line that holds "=" after at least one character: the text
// before the first "=" is the key, all after it the value, both trimmed of
// white space. Owned by the caller; empty for null lines.
TCSettingsPairs* ParsePairs(const TCStrings* lines);

// The pairs of the preferences file, owned by the caller; empty when the file
// does not open or is too large to be a preferences file. When given,
// *unreadable tells the second case, in which the file exists but its pairs
// are unknown, so that a caller does not overwrite it.
TCSettingsPairs* ReadPreferencesFile(bool* unreadable = nullptr);

// Rewrites the preferences file with one "key=value" line per pair, in order.
// False when the file does not open or a write fails.
bool WritePairsToFile(const TCSettingsPairs* pairs);

// A copy of the options file's first pair for key, owned by the caller; null
// when the file does not open or holds no such key.
TCSettingsPair* ReadOption(const TCString* key);
