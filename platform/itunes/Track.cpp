#include "platform/itunes/Track.h"

#include "platform/itunes/ArtworkCollection.h"
#include "platform/itunes/Call.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/itunes/TagReader.h"
#include "platform/text/TextCodec.h"

#include <algorithm>
#include <limits>

namespace itunesapp {
namespace {

constexpr int32_t kMaxRating = 100;
constexpr uint32_t kMillisecondsPerSecond = 1000;

template <class Record> auto TextOf(Record& track, TextField field) -> decltype(&track.name) {
    switch (field) {
    case TextField::Name:
        return &track.name;
    case TextField::Album:
        return &track.album;
    case TextField::Artist:
        return &track.artist;
    case TextField::Genre:
        return &track.genre;
    case TextField::Composer:
        return &track.composer;
    case TextField::Comment:
        return &track.comment;
    case TextField::Equalizer:
        return &track.equalizer;
    }
    return nullptr;
}

// The writable numbers, with the largest value each takes.
uint32_t* NumberOf(TrackRecord& track, NumberField field, int32_t& largest) {
    largest = std::numeric_limits<int32_t>::max();
    switch (field) {
    case NumberField::TrackNumber:
        return &track.trackNumber;
    case NumberField::Year:
        return &track.year;
    case NumberField::PlayedCount:
        return &track.playedCount;
    case NumberField::Rating:
        largest = kMaxRating;
        return &track.rating;
    default:
        return nullptr;
    }
}

int32_t Clamped(uint64_t value) {
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

} // namespace

template <class Reader> Status Track::Read(const Reader& read) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    if (!m_cachedRecord || m_cachedEpoch != source->Epoch()) {
        m_cachedRecord = source->Model().FindTrack(m_trackID);
        m_cachedEpoch = source->Epoch();
    }
    return m_cachedRecord ? read(*source, *m_cachedRecord) : Status::Failed;
}

template <class Edit> Status Track::Change(const Edit& edit) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    return source->EditTrack(m_trackID, edit, call.changes);
}

Status Track::GetKind(TrackKind& kind) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        kind = record.kind;
        return Status::Ok;
    });
}

Status Track::GetText(TextField field, std::u16string& value) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        value = textcodec::DecodeUtf8(*TextOf(record, field));
        return Status::Ok;
    });
}

Status Track::SetText(TextField field, const std::u16string& value) const {
    const std::string text = textcodec::EncodeUtf8(value);
    return Change([&](TrackRecord& track) {
        *TextOf(track, field) = text;
        return true;
    });
}

Status Track::GetNumber(NumberField field, int32_t& value) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        switch (field) {
        case NumberField::TrackNumber:
            value = Clamped(record.trackNumber);
            break;
        case NumberField::Year:
            value = Clamped(record.year);
            break;
        case NumberField::BitRate:
            value = Clamped(record.bitRate);
            break;
        case NumberField::Duration:
            value =
                Clamped((uint64_t{record.totalTimeMs} + kMillisecondsPerSecond / 2) / kMillisecondsPerSecond);
            break;
        case NumberField::PlayedCount:
            value = Clamped(record.playedCount);
            break;
        case NumberField::Rating:
            value = Clamped(record.rating);
            break;
        case NumberField::TrackID:
        case NumberField::DatabaseID:
            value = record.id;
            break;
        }
        return Status::Ok;
    });
}

Status Track::SetNumber(NumberField field, int32_t value) const {
    return Change([field, value](TrackRecord& track) {
        int32_t largest = 0;
        uint32_t* number = NumberOf(track, field, largest);
        if (!number || value < 0 || value > largest)
            return false;
        *number = static_cast<uint32_t>(value);
        return true;
    });
}

Status Track::GetSize(int64_t& size) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        size = static_cast<int64_t>(std::min<uint64_t>(record.size, std::numeric_limits<int64_t>::max()));
        return Status::Ok;
    });
}

Status Track::GetDate(DateField field, double& date) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        date = OleDateFromUnix(field == DateField::Modified ? record.modified : record.played);
        return Status::Ok;
    });
}

Status Track::SetDate(DateField field, double date) const {
    int64_t played = kNoDate;
    if (field != DateField::Played || (date != 0.0 && !UnixFromOleDate(date, played)))
        return Status::Failed;
    return Change([played](TrackRecord& track) {
        track.played = played;
        return true;
    });
}

Status Track::GetObjectIDs(ObjectIDs& ids) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        ids = {m_sourceID, m_playlistID, record.id, record.id};
        return Status::Ok;
    });
}

Status Track::GetLocation(std::string& path) const {
    return Read([&](const SourceBackend&, const TrackRecord& record) {
        if (record.kind != TrackKind::File)
            return Status::Failed;
        path = record.location;
        return Status::Ok;
    });
}

// The song file is read while the call holds the application, as the application itself would.
Status Track::GetArtwork(std::shared_ptr<ArtworkCollection>& artwork) const {
    return Read([&](const SourceBackend& source, const TrackRecord& record) {
        std::vector<std::vector<uint8_t>> pictures;
        if (record.kind == TrackKind::File && !record.location.empty() && source.Tags())
            pictures = source.Tags()->ReadArtwork(record.location);
        artwork = std::make_shared<ArtworkCollection>(m_core, std::move(pictures));
        return Status::Ok;
    });
}

Status Track::Delete() const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    if (m_playlistID == source->Model().Main().id)
        return source->DeleteTrack(m_trackID, call.changes);
    return source->RemoveItem(m_playlistID, m_trackID, m_serial, call.changes);
}

} // namespace itunesapp
