#pragma once
// "mhbd": the root of the iPod database, holding every data set in file order.

#include "library/ipod/ITunesDBBytes.h"
#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBDataSet.h"

#include <cstdint>
#include <memory>
#include <vector>

class AFile;
class ITunesDBInput;
struct ITunesDBReadContext;

class ITunesDBHeader {
public:
    static constexpr uint32_t kKnownLength = 36;
    static constexpr uint32_t kNewHeaderLength = 104;
    static constexpr uint32_t kUnknownOneOffset = 12;
    static constexpr uint32_t kVersionOffset = 16;
    static constexpr uint32_t kDataSetCountOffset = 20;
    static constexpr uint32_t kNewVersion = 15;
    static constexpr uint32_t kHighestWrittenVersion = 19;

    // A new tree: data sets of types 1, 3 and 2, each with an empty body.
    ITunesDBHeader();

    // Reads the tree that starts at the stream position and lies within the stream. Library mode reads
    // the tree's bytes into one buffer, which the tree keeps and its chunks view; names mode reads only
    // the headers it needs.
    int Read(AFile& stream, const ITunesDBReadContext& context);
    // Renumbers the tracks first, so that the playlist items carry the ids that are written.
    int Write(AFile& stream);
    uint64_t GetTotalLength() const;

    uint32_t GetVersion() const { return m_frame.Get32(kVersionOffset); }
    int GetDataSetCount() const { return static_cast<int>(m_dataSets.size()); }
    // The first, second or third data set of types 1 to 3 (role 1, 2, 3), in file order; data sets of
    // other types do not count. Null when there is none.
    ITunesDBDataSet* GetDataSet(int role) const;
    // The track list of the first data set, or null.
    ITunesDBTrackList* GetTrackList() const;
    // The playlist lists of the second and third data sets (not null ones only).
    std::vector<ITunesDBPlayListList*> GetPlayListLists() const;

private:
    int ReadSource(AFile& stream, int noMemoryCode);
    int ReadTree(ITunesDBInput& input, const ITunesDBReadContext& context);
    int ReadDataSets(ITunesDBInput& input, const ITunesDBReadContext& context);
    void BindPlayListItems();

    // The bytes a library-mode read came from; the chunks below hold views into them.
    ITunesDBBytes m_source;
    ITunesDBChunkFrame m_frame;
    std::vector<std::unique_ptr<ITunesDBDataSet>> m_dataSets;
};
