#pragma once
// Result codes of the iPod database: its chunk reader and writer, the save, the identifier.

// Reading, in library mode and (where they differ) in names mode.
constexpr int kErrorNotString = -15135;
constexpr int kErrorStringNoMemory = -15136;
constexpr int kErrorNotTrack = -15137;
constexpr int kErrorTrackHeaderLength = -15138;
constexpr int kErrorTrackNoMemory = -15139;
constexpr int kErrorNotPlayListItem = -15140;
constexpr int kErrorPlayListItemNoMemory = -15141;
constexpr int kErrorNotPlayList = -15142;
constexpr int kErrorPlayListNoMemory = -15143;
constexpr int kErrorNotPlayListNames = -15144;
constexpr int kErrorPlayListNoMemoryNames = -15145;
constexpr int kErrorNotPlayListList = -15146;
constexpr int kErrorPlayListListNoMemory = -15147;
constexpr int kErrorNotPlayListListNames = -15148;
constexpr int kErrorPlayListListNoMemoryNames = -15149;
constexpr int kErrorNotTrackList = -15150;
constexpr int kErrorTrackListNoMemory = -15151;
constexpr int kErrorNotDataSet = -15152;
constexpr int kErrorDataSetNoMemory = -15153;
constexpr int kErrorNotDataSetNames = -15158;
constexpr int kErrorDataSetNoMemoryNames = -15159;
constexpr int kErrorNotDatabase = -15166;
constexpr int kErrorDatabaseNoMemory = -15167;
constexpr int kErrorNotDatabaseNames = -15168;
constexpr int kErrorDatabaseNoMemoryNames = -15169;

// Writing: a data set whose body was never read (a names-mode read) cannot be written back.
constexpr int kErrorDataSetBodyNotRead = -15163;

// Changes and saving.
constexpr int kErrorNoTrackList = -15164;
constexpr int kErrorNotReadForSave = -15171;
constexpr int kErrorVolumeSerial = -15172;
