#include "library/itunes/FakeITunesObjects.h"

#include "support/TempDir.h"

int FakeTrack::Outcome() const {
    if (behaviour == Behaviour::Throw)
        throw std::runtime_error("raised inside the application");
    return behaviour == Behaviour::Fail ? -1 : 0;
}

int FakeTrack::GetText(ITunesTrackProperty property, AString& value) {
    if (const int result = Outcome())
        return result;
    value = texts[property];
    return 0;
}

int FakeTrack::SetText(ITunesTrackProperty property, const AString& value) {
    if (const int result = Outcome())
        return result;
    texts[property] = value;
    return 0;
}

int FakeTrack::GetNumber(ITunesTrackProperty property, int32_t& value) {
    if (const int result = Outcome())
        return result;
    value = numbers[property];
    return 0;
}

int FakeTrack::SetNumber(ITunesTrackProperty property, int32_t value) {
    if (const int result = Outcome())
        return result;
    numbers[property] = value;
    return 0;
}

int FakeTrack::GetArtworkCount(int32_t& count) {
    if (const int result = Outcome())
        return result;
    count = static_cast<int32_t>(artworks.size());
    return 0;
}

int FakeTrack::SaveArtworkToFile(int32_t item, const AString& path) {
    if (const int result = Outcome())
        return result;
    artworkPaths.push_back(path.ToSystem8Bit());
    WriteBytes(path.ToSystem8Bit(), artworks.at(item - 1));
    return 0;
}

int FakeTrack::Delete() {
    if (const int result = Outcome())
        return result;
    ++deletes;
    return 0;
}

int FakePlayList::GetName(AString& value) {
    if (behaviour == FakeTrack::Behaviour::Fail)
        return -1;
    value = name;
    return 0;
}

int FakePlayList::SetName(const AString& value) {
    if (behaviour == FakeTrack::Behaviour::Fail)
        return -1;
    name = value;
    return 0;
}

int FakePlayList::AddTrack(const ITunesTrackRef&, ITunesTrackRef& track) {
    if (behaviour == FakeTrack::Behaviour::Throw)
        throw std::runtime_error("raised inside the application");
    if (behaviour == FakeTrack::Behaviour::Fail)
        return -1;
    if (!givesTrack)
        return 0;
    auto fresh = std::make_shared<FakeTrack>();
    fresh->numbers[ITunesTrackProperty::TrackID] = nextTrackID++;
    track = fresh;
    added.push_back(track);
    return 0;
}

int FakePlayList::Delete() {
    return behaviour == FakeTrack::Behaviour::Fail ? -1 : 0;
}

ITunesTrackRef FakeLookup::GetTrackByID(int32_t, int32_t, int32_t trackID, int32_t) {
    ++lookups;
    const auto found = tracksByTrackID.find(trackID);
    return found == tracksByTrackID.end() ? nullptr : found->second;
}
