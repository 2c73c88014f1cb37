#include "library/itunes/ITunesServices.h"

#include "library/itunes/ITunesTagReader.h"
#include "library/itunes/LibraryPlayListName.h"
#include "platform/itunes/ITunesInstance.h"

void InstallITunesServices(itunesapp::PodDatabaseOpener podOpener) {
    SetLibraryPlayListName(kLibraryPlayListName);
    itunesapp::ITunesInstance::Setup setup;
    setup.tagReader = std::make_shared<ITunesTagReader>();
    setup.podOpener = std::move(podOpener);
    itunesapp::ITunesInstance::Install(std::move(setup));
}
