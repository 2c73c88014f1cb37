#pragma once
// The iPod models the system knows by the model number in "iPod_Control/Device/SysInfo": each with its
// family (2: the 0.5 and 1 GB models, also assumed when SysInfo is missing; 4: the video models), its
// variant (colour or finish within the family, 0 when the family has none), its capacity and the number
// of music folders ("F00" on) that a new iPod of the model gets.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

class AFile;

struct PodModelInfo {
    AString modelNumber; // the SysInfo value without its first character ("9724" for "M9724")
    uint32_t family = 0;
    uint32_t variant = 0;
    double gigabytes = 0.0;
    uint32_t musicFolders = 0; // 0: not known
};

class PodModelTable {
public:
    static constexpr uint32_t kFamilyWithoutSysInfo = 2;

    // The 51 rows, in their order; never changed.
    static const std::vector<PodModelInfo>& Rows();
    // The first row of exactly this model number (case-sensitive), or null.
    static const PodModelInfo* Find(const AString& modelNumber);
};

// Reads SysInfo text line by line up to the line whose key (the text before its first ':') is
// "ModelNumStr" without case; its value without the first character is the model number ("9724" for
// "ModelNumStr: M9724"). 0, or the read's code when no line has that key.
int ReadSysInfoModelNumber(AFile& sysInfo, AString& modelNumber);

// Reads the model number of the iPod below `driveRoot` and looks it up. 0 (a volume without SysInfo
// counts as family 2), or the read's code when SysInfo holds no "ModelNumStr" line. An unknown model
// keeps its number and leaves the other fields 0.
int GetIPodModelInfo(const AString& driveRoot, PodModelInfo& out);
