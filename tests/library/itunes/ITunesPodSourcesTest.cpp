#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/PodDatabase.h"
#include "platform/volumes/VolumeTable.h"
#include "support/AStringPrinting.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// An iPod database that holds nothing but its main playlist.
class EmptyPod : public itunesapp::PodDatabase {
public:
    int Read(itunesapp::PodContent& content) override {
        content.playLists = {{1, u"Ann's iPod", true, {}}};
        return 0;
    }
    int AddTrack(itunesapp::PodTrack&) override { return kErrorNotSupported; }
    int UpdateTrack(const itunesapp::PodTrack&) override { return kErrorNotSupported; }
    int RemoveTrack(int32_t) override { return kErrorNotSupported; }
    int CreatePlayList(const std::u16string&, uint64_t&) override { return kErrorNotSupported; }
    int RenamePlayList(uint64_t, const std::u16string&) override { return kErrorNotSupported; }
    int DeletePlayList(uint64_t) override { return kErrorNotSupported; }
    int SetPlayListTracks(uint64_t, const std::vector<int32_t>&) override { return kErrorNotSupported; }
    int Save() override { return 0; }
};

class OneVolume : public nativevolumes::VolumeTable {
public:
    explicit OneVolume(std::string mountPoint) : m_mountPoint(std::move(mountPoint)) {}
    std::vector<nativevolumes::Volume> List() const override { return {{m_mountPoint, 0}}; }

private:
    std::string m_mountPoint;
};

class ITunesPodSources : public TunesLibraryFixture {};

TEST_F(ITunesPodSources, AMountedIPodIsTheFirstPodSource) {
    const std::string pod = dir.File("pod");
    std::filesystem::create_directories(pod + "/iPod_Control/iTunes");
    WriteText(pod + "/iPod_Control/iTunes/iTunesDB", "database");
    const OneVolume volumes(pod);
    itunesapp::ITunesInstance::Setup setup;
    setup.volumes = &volumes;
    setup.podOpener = [](const std::string&) { return std::make_unique<EmptyPod>(); };
    itunesapp::ITunesInstance::Install(setup);

    ITunes client;
    int count = 0;
    ASSERT_EQ(client.GetPodCount(count), 0);
    EXPECT_EQ(count, 1);
    AString name;
    ASSERT_EQ(client.GetPodSourceName(name, 0), 0);
    EXPECT_EQ(name, "Ann's iPod");
    std::shared_ptr<itunesapp::Source> source;
    int32_t sourceID = 0;
    ASSERT_EQ(client.FindPodSource(0, source, sourceID), 0);
    EXPECT_GT(sourceID, 1);
    EXPECT_EQ(client.FindPodSource(1, source, sourceID), kErrorInvalidElement);
}

} // namespace
