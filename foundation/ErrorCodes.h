#pragma once
// Every result code of the system, each number once and by one name. 0 (or a count) is success;
// kUserCancel is the positive result of an operation the user stopped or a list the user did not
// confirm. The error-text table (ErrorTexts.cpp) gives the user's text of the codes that have one.

constexpr int kUserCancel = 123456;

// Shared by every layer.
// A memory stream read past its end; also the general refusal of a request and the remote link's lost,
// malformed or damaged message (its text reads "End of file encountered.").
constexpr int kErrorEndOfStream = -1;
constexpr int kErrorInvalidElement = -2;
constexpr int kErrorNotConnected = -3;
constexpr int kErrorDuplicate = -4;
constexpr int kErrorInvalidPath = -5;
constexpr int kErrorITunesCall = -6; // a call into the music application failed
constexpr int kErrorITunesBusy = -7;  // the music application asks to be called again later
constexpr int kErrorInvalidPlayList = -8;
constexpr int kErrorPodAutoUpdate = -9;
constexpr int kErrorIO = -36;
constexpr int kErrorOutOfMemory = -108;
constexpr int kErrorNoVersion = -8546;
constexpr int kErrorITunesRefused = -10001;
constexpr int kErrorOriginalPathNotFound = -10003;
constexpr int kErrorFileType = -11159;
constexpr int kErrorFileNotFound = -11160;
constexpr int kErrorUnableToVerify = -11161;
constexpr int kErrorUnableToCopy = -11162;
constexpr int kErrorUnableToDelete = -11163;
constexpr int kErrorNewerUnknown = -11164;
constexpr int kErrorDuplicateNames = -11165;
constexpr int kErrorShortRead = -11166;
constexpr int kErrorNotSupported = -11167;
constexpr int kErrorVersion = -102389;
constexpr int kErrorBusy = -102390;
constexpr int kErrorObjectNotFound = -102391;
constexpr int kErrorInconsistentSize = -102392;
constexpr int kErrorAddSongRefused = -102393;
constexpr int kErrorNoSpace = -102394;
constexpr int kErrorAddToPlayListRefused = -102395;
constexpr int kErrorLastSyncPlayList = -102396;

// The remote link's failures that it has already told the user about: a sync does not tell again.
constexpr int kErrorRemoteUnreached = -10564;
constexpr int kErrorRemoteHeaderNotSent = -10565; // the remote link could not send a message's header
constexpr int kErrorRemoteSilent = -10572; // the other computer sent and took nothing for as long as a request waits

// AArray
constexpr int kErrorArrayCopy = -15001;
constexpr int kErrorArrayInsertCopy = -15002;
constexpr int kErrorArrayLoadAlloc = -15004;

// Song lists
constexpr int kErrorListFolder = -15005; // a folder of the tree cannot be listed
constexpr int kErrorPodPlayListNoPath = -15006;
constexpr int kErrorPodPlayListAddFile = -15007;
constexpr int kErrorPodPlayListDeleteFile = -15009;
constexpr int kErrorTunesPlayListNoPath = -15010;
constexpr int kErrorTunesPlayListAddFile = -15011;
constexpr int kErrorTunesPlayListDeleteFile = -15013;
constexpr int kErrorPodEntryNoPath = -15014;   // the iPod database names no track by the entry
constexpr int kErrorPodEntryNoSong = -15015;   // the same, when asked for the song's information
constexpr int kErrorPodEntryNoDelete = -15016; // the same, when asked to delete it
constexpr int kErrorToolKind = -15017;        // a kind outside the library tools' kinds
constexpr int kErrorAddListReserved = -15018; // the reserved word of an add list was not 0
constexpr int kErrorUnknownSongEntry = -15029;

// The song sync's checks before it writes into an iPod; every code a check ends with reads in words.
constexpr int kErrorPodVolumeNotFound = -10;
constexpr int kErrorNoMusicHome = -15036;        // no music folder of the user to find the library in
constexpr int kErrorNoLibraryIdStart = -15037;   // the library id line has no "<string>"
constexpr int kErrorNoLibraryIdEnd = -15038;     // ... no "</string>", or no hexadecimal id between
constexpr int kErrorPodPrefsUnreadable = -15093; // Directory 2's iPod preferences
// The iPod belongs to another computer's library, and the stage that met it may not ask the user.
constexpr int kErrorPodMarried = -15091;

// A sync ran to its end but some of its actions failed; its log names each file and why.
constexpr int kErrorActionsFailed = -15099;

// The iTunes preferences
constexpr int kErrorNoAppDataFolder = -15031;
constexpr int kErrorNoAccountName = -15032;

// AFile
constexpr int kErrorOpenMode = -15039;
constexpr int kErrorOpenForced = -15040;
constexpr int kErrorOpen = -15041;
constexpr int kErrorSeek = -15043;
constexpr int kErrorRead = -15044;
constexpr int kErrorWrite = -15045;
constexpr int kErrorSetLength = -15046;
constexpr int kErrorGetFileTimes = -15047;
constexpr int kErrorSetFileTimes = -15048;

// File operations
constexpr int kErrorSetReadOnly = -15049;
constexpr int kErrorModTimeNoAttributes = -15050;
constexpr int kErrorModTimeConvert = -15051;
constexpr int kErrorModTimeToUniversal = -15052;
constexpr int kErrorModTimeForcedOpen = -15053;
constexpr int kErrorModTimeForcedSet = -15054;
constexpr int kErrorModTimeForcedClose = -15055;
constexpr int kErrorModTimeOpen = -15056;
constexpr int kErrorModTimeSet = -15057;
constexpr int kErrorModTimeClose = -15058;
constexpr int kErrorCopyForced = -15059;
constexpr int kErrorCopy = -15060;
constexpr int kErrorMoveForced = -15063;
constexpr int kErrorMove = -15064;
constexpr int kErrorDeleteForced = -15066;
constexpr int kErrorDelete = -15067;
constexpr int kErrorCreateDirectory = -15069;
constexpr int kErrorGetAttributes = -15072;
constexpr int kErrorSetAttributes = -15073;
constexpr int kErrorFreeSpace = -15076;

// AString stored forms
constexpr int kErrorStringReadMax = -15079;
constexpr int kErrorStringTooLong = -15080;
constexpr int kErrorStringShort = -15081;
constexpr int kErrorStringReadForm = -15082;
constexpr int kErrorStringWriteForm1 = -15083;
constexpr int kErrorStringWriteForm2 = -15084;
constexpr int kErrorStringWriteForm3 = -15085;
constexpr int kErrorStringWriteForm4 = -15086;
constexpr int kErrorStringWriteForm = -15087;

// Song file tags
constexpr int kErrorID3v1FileTooShort = -15100;
constexpr int kErrorID3v2ReadVersion = -15101;
constexpr int kErrorID3v2Compressed = -15102;
constexpr int kErrorID3v2ExtendedHeader = -15103;
constexpr int kErrorID3v2Footer = -15104;
constexpr int kErrorID3v2WriteVersion = -15105;
constexpr int kErrorNewTagPicture = -15106;
constexpr int kErrorPictureV22 = -15107;
constexpr int kErrorPictureV23 = -15108;
constexpr int kErrorPictureV24 = -15109;
constexpr int kErrorNoMpegFrame = -15110;

// The iPod database, in library mode and (where they differ) in names mode
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
// Writing: a data set whose body was never read (a names-mode read) cannot be written back.
constexpr int kErrorDataSetBodyNotRead = -15163;
constexpr int kErrorNoTrackList = -15164;
constexpr int kErrorNotDatabase = -15166;
constexpr int kErrorDatabaseNoMemory = -15167;
constexpr int kErrorNotDatabaseNames = -15168;
constexpr int kErrorDatabaseNoMemoryNames = -15169;
constexpr int kErrorNotReadForSave = -15171;
constexpr int kErrorVolumeSerial = -15172;

// The iTunes song and playlist records
constexpr int kErrorAddToPlayList = -15215;
constexpr int kErrorPlayListRemoveSong = -15216;
constexpr int kErrorPlayListDeleteSong = -15217;
constexpr int kErrorSongGetName = -15219;
constexpr int kErrorSongGetAlbum = -15220;
constexpr int kErrorSongGetArtist = -15221;
constexpr int kErrorSongGetGenre = -15222;
constexpr int kErrorSongGetBitRate = -15226;
constexpr int kErrorSongGetDuration = -15227;
constexpr int kErrorSongGetSize = -15228;
constexpr int kErrorNoArtworkFolder = -15230;

// The iTunes client: an exception caught inside an operation, and songs that are not in the index
constexpr int kErrorITunesGetName = -15180;
constexpr int kErrorITunesAddFile = -15186;
constexpr int kErrorITunesAddFiles = -15188;
constexpr int kErrorITunesDeleteSongUnknown = -15190;
constexpr int kErrorITunesChangeSong = -15191; // DeleteSong and UpdateSongInfo
constexpr int kErrorITunesLoadPlayLists = -15195;
constexpr int kErrorITunesLoadMasterList = -15207;
constexpr int kErrorITunesUpdateSongUnknown = -15690;
// The library file of the music application cannot be read (ITunes::LibraryProblem names it and says why)
constexpr int kErrorLibraryUnreadable = -15231;

// The iPod as a source of the music application: an exception caught inside an operation
constexpr int kErrorPodSourceGetName = -15120;
constexpr int kErrorPodSourceAddFile = -15123;
constexpr int kErrorPodSourceAddFiles = -15125;
constexpr int kErrorPodSourceDeletePlayList = -15127;
constexpr int kErrorPodSourceCreatePlayList = -15129;
constexpr int kErrorPodSourceLoadMasterList = -15131;
constexpr int kErrorPodSourceVolumeInfo = -15133; // the volume information of the drive cannot be read
constexpr int kErrorPodSourceLoadPlayLists = -15134;
