#include "library/itunes/ITunesStatusCode.h"

#include "foundation/ErrorCodes.h"

int ITunesStatusCode(itunesapp::Status status) {
    switch (status) {
    case itunesapp::Status::Ok:
    case itunesapp::Status::Ended:
        return 0;
    case itunesapp::Status::Gone:
        return kErrorNotConnected;
    case itunesapp::Status::Busy:
        return kErrorITunesBusy;
    case itunesapp::Status::Unreadable:
        return kErrorLibraryUnreadable;
    case itunesapp::Status::Failed:
        break;
    }
    return kErrorITunesCall;
}
