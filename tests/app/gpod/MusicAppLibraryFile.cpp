#include "MusicAppLibraryFile.h"

#include <QString>
#include <QUrl>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string XmlText(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().toStdString();
}

std::string FileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

void WriteTrack(std::ofstream& xml, int id, const MusicAppSong& song) {
    xml << "\t\t<key>" << id << "</key>\n\t\t<dict>\n"
        << "\t\t\t<key>Track ID</key><integer>" << id << "</integer>\n"
        << "\t\t\t<key>Name</key><string>" << XmlText(song.name) << "</string>\n"
        << "\t\t\t<key>Artist</key><string>" << XmlText(song.artist) << "</string>\n"
        << "\t\t\t<key>Album</key><string>" << XmlText(song.album) << "</string>\n"
        << "\t\t\t<key>Genre</key><string>" << XmlText(song.genre) << "</string>\n"
        << "\t\t\t<key>Kind</key><string>" << song.kind << "</string>\n"
        << "\t\t\t<key>Size</key><integer>" << fs::file_size(song.file) << "</integer>\n"
        << "\t\t\t<key>Total Time</key><integer>1500</integer>\n";
    if (song.trackNumber > 0)
        xml << "\t\t\t<key>Track Number</key><integer>" << song.trackNumber << "</integer>\n";
    xml << "\t\t\t<key>Date Modified</key><date>2008-07-01T12:00:00Z</date>\n"
        << "\t\t\t<key>Date Added</key><date>2008-07-01T12:00:00Z</date>\n"
        << "\t\t\t<key>Persistent ID</key><string>00000000000000" << std::hex << id << std::dec
        << "</string>\n"
        << "\t\t\t<key>Track Type</key><string>File</string>\n"
        << "\t\t\t<key>Location</key><string>" << FileUrl(song.file) << "</string>\n"
        << "\t\t\t<key>File Folder Count</key><integer>-1</integer>\n"
        << "\t\t\t<key>Library Folder Count</key><integer>-1</integer>\n"
        << "\t\t</dict>\n";
}

} // namespace

std::string PlaceTaggedSong(const std::string& folder, const std::string& fixture) {
    const std::string path = folder + "/" + fixture;
    fs::create_directories(folder);
    fs::copy_file(std::string(ORVANTIS_FIXTURES) + "/tags/" + fixture, path);
    return path;
}

void WriteMusicAppLibraryFile(const std::string& itunesFolder, const std::vector<MusicAppSong>& songs) {
    fs::create_directories(itunesFolder + "/iTunes Music");
    std::ofstream xml(itunesFolder + "/iTunes Music Library.xml");
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n"
           "\t<key>Major Version</key><integer>1</integer>\n"
           "\t<key>Minor Version</key><integer>1</integer>\n"
           "\t<key>Application Version</key><string>7.7.1</string>\n"
           "\t<key>Features</key><integer>5</integer>\n"
           "\t<key>Show Content Ratings</key><true/>\n"
           "\t<key>Music Folder</key><string>"
        << FileUrl(itunesFolder + "/iTunes Music") << "/</string>\n"
        << "\t<key>Library Persistent ID</key><string>5A1E0C2B3D4F6789</string>\n"
           "\t<key>Tracks</key>\n\t<dict>\n";
    for (size_t i = 0; i < songs.size(); ++i)
        WriteTrack(xml, 100 + static_cast<int>(i), songs[i]);
    xml << "\t</dict>\n\t<key>Playlists</key>\n\t<array>\n\t\t<dict>\n"
           "\t\t\t<key>Name</key><string>Library</string>\n"
           "\t\t\t<key>Master</key><true/>\n"
           "\t\t\t<key>Playlist ID</key><integer>300</integer>\n"
           "\t\t\t<key>Playlist Persistent ID</key><string>5A1E0C2B3D4F0001</string>\n"
           "\t\t\t<key>Visible</key><false/>\n"
           "\t\t\t<key>All Items</key><true/>\n"
           "\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n";
    for (size_t i = 0; i < songs.size(); ++i)
        xml << "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>" << 100 + i
            << "</integer>\n\t\t\t\t</dict>\n";
    xml << "\t\t\t</array>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n";
}
