#pragma once
// Result codes shared across the layers. 0 (or a count) is success; kUserCancel is the positive
// result of an operation the user stopped or a list the user did not confirm.

constexpr int kUserCancel = 123456;

constexpr int kErrorEndOfStream = -1;
constexpr int kErrorInvalidElement = -2;
constexpr int kErrorNotConnected = -3;
constexpr int kErrorDuplicate = -4;
constexpr int kErrorInvalidPath = -5;
constexpr int kErrorOutOfMemory = -108;
constexpr int kErrorFileType = -11159;
constexpr int kErrorFileNotFound = -11160;
constexpr int kErrorUnableToVerify = -11161;
constexpr int kErrorShortRead = -11166;
constexpr int kErrorNotSupported = -11167;
constexpr int kErrorVersion = -102389;
constexpr int kErrorBusy = -102390;
constexpr int kErrorInconsistentSize = -102392;
constexpr int kErrorNoSpace = -102394;

// AArray
constexpr int kErrorArrayCopy = -15001;
constexpr int kErrorArrayInsertCopy = -15002;
constexpr int kErrorArrayLoadAlloc = -15004;

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
