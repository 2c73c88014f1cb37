#include "library/ipod/PodModelTable.h"

#include "foundation/AFile.h"

namespace {

constexpr int kMaxLineLength = 2048;

struct Row {
    const char* model;
    uint32_t family;
    uint32_t variant;
    double gigabytes;
    uint32_t musicFolders;
};

// The music folder counts are libgpod's for the model; it lists no 9959 and no A133, which have the
// count of the other models of their family and capacity.
constexpr Row kRows[] = {
    {"8513", 6, 0, 5, 20},  {"8541", 6, 0, 5, 20},  {"8697", 6, 0, 5, 20},   {"8709", 6, 0, 10, 20},
    {"8737", 6, 0, 10, 20}, {"8740", 6, 0, 10, 20}, {"8738", 6, 0, 20, 50},  {"8741", 6, 0, 20, 50},
    {"8976", 7, 0, 10, 20}, {"8946", 7, 0, 15, 50}, {"9460", 7, 0, 15, 50},  {"9244", 7, 0, 20, 50},
    {"8948", 7, 0, 30, 50}, {"9245", 7, 0, 40, 50}, {"9282", 8, 0, 20, 50},  {"9787", 10, 0, 20, 50},
    {"9268", 8, 0, 40, 50}, {"A079", 9, 0, 20, 50}, {"A127", 10, 0, 20, 50}, {"9829", 9, 0, 30, 50},
    {"9585", 9, 0, 40, 50}, {"9586", 9, 0, 60, 50}, {"9830", 9, 0, 60, 50},  {"A002", 4, 1, 30, 50},
    {"A146", 4, 2, 30, 50}, {"A003", 4, 1, 60, 50}, {"A147", 4, 2, 60, 50},  {"A452", 10, 0, 30, 50},
    {"9160", 3, 3, 4, 6},   {"9436", 3, 4, 4, 6},   {"9435", 3, 5, 4, 6},    {"9434", 3, 6, 4, 6},
    {"9437", 3, 7, 4, 6},   {"9800", 3, 3, 4, 6},   {"9802", 3, 4, 4, 6},    {"9804", 3, 5, 4, 6},
    {"9806", 3, 6, 4, 6},   {"9801", 3, 3, 6, 20},  {"9803", 3, 4, 6, 20},   {"9805", 3, 5, 6, 20},
    {"9807", 3, 6, 6, 20},  {"9959", 3, 3, 6, 20},  {"A133", 2, 0, 0.5, 3},  {"9724", 2, 0, 0.5, 3},
    {"9725", 2, 0, 1, 3},   {"A350", 5, 1, 1, 3},   {"A352", 5, 2, 1, 3},    {"A004", 5, 1, 2, 3},
    {"A099", 5, 2, 2, 3},   {"A005", 5, 1, 4, 6},   {"A107", 5, 2, 4, 6},
};

AString SysInfoPath(const AString& driveRoot) {
    AString path(driveRoot);
    path.AppendPath("iPod_Control");
    path.AppendPath("Device");
    path.AppendPath("SysInfo");
    return path;
}

// A line "ModelNumStr: M9724" (the key before the first ':', compared without case) gives the value
// without its first character, trimmed on both sides of that cut. Any other line gives false.
bool ModelNumberOfLine(const AString& line, AString& modelNumber) {
    const int colon = line.Find(u':');
    if (colon < 0 || line.Left(colon).Trimmed().CompareNoCase("ModelNumStr") != 0)
        return false;
    modelNumber = line.Mid(colon + 1);
    modelNumber.Trim();
    if (!modelNumber.IsEmpty())
        modelNumber.Delete(0);
    modelNumber.Trim();
    return true;
}

} // namespace

const std::vector<PodModelInfo>& PodModelTable::Rows() {
    static const std::vector<PodModelInfo> rows = [] {
        std::vector<PodModelInfo> built;
        for (const Row& row : kRows)
            built.push_back({AString(row.model), row.family, row.variant, row.gigabytes, row.musicFolders});
        return built;
    }();
    return rows;
}

const PodModelInfo* PodModelTable::Find(const AString& modelNumber) {
    for (const PodModelInfo& row : Rows()) {
        if (row.modelNumber == modelNumber)
            return &row;
    }
    return nullptr;
}

int ReadSysInfoModelNumber(AFile& sysInfo, AString& modelNumber) {
    AString line;
    for (;;) {
        if (const int result = line.Read(sysInfo, AString::Form::NarrowLine, kMaxLineLength))
            return result;
        if (ModelNumberOfLine(line, modelNumber))
            return 0;
    }
}

int GetIPodModelInfo(const AString& driveRoot, PodModelInfo& out) {
    out = PodModelInfo();
    // No drive names no file (and never one relative to the working folder).
    if (driveRoot.IsEmpty())
        return 0;
    AFile file;
    if (file.Open(SysInfoPath(driveRoot), AFile::kModeRead, false) != 0) {
        out.family = PodModelTable::kFamilyWithoutSysInfo;
        return 0;
    }
    if (const int result = ReadSysInfoModelNumber(file, out.modelNumber))
        return result;
    if (const PodModelInfo* row = PodModelTable::Find(out.modelNumber)) {
        out.family = row->family;
        out.variant = row->variant;
        out.gigabytes = row->gigabytes;
        out.musicFolders = row->musicFolders;
    }
    return 0;
}
