#!/usr/bin/env python3
"""The music application's library file, written and read by Python's own property-list code, as
another program would: the tests hand the server program a library it did not write, and read what it
left without its own reader.

  library_file.py write LIBRARY MUSIC_FOLDER SONG...   each SONG is FILE|NAME|ARTIST|ALBUM|GENRE|TRACK
  library_file.py read LIBRARY                          prints the file of each track, one a line
  library_file.py remove LIBRARY FILE                   the user deletes the song of FILE, file and all
"""
import datetime
import os
import plistlib
import secrets
import sys
import urllib.parse

PREFIX = "file://localhost"


def location(path):
    return PREFIX + urllib.parse.quote(path)


def persistent_id():
    return secrets.token_hex(8).upper()


def track(track_id, song):
    path, name, artist, album, genre, number = song.split("|")
    modified = datetime.datetime.fromtimestamp(os.path.getmtime(path), datetime.timezone.utc)
    return {
        "Track ID": track_id,
        "Name": name,
        "Artist": artist,
        "Album": album,
        "Genre": genre,
        "Kind": "MPEG audio file",
        "Size": os.path.getsize(path),
        "Total Time": 1500,
        "Track Number": int(number),
        "Date Modified": modified.replace(tzinfo=None),
        "Date Added": datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None, microsecond=0),
        "Bit Rate": 32,
        "Sample Rate": 32000,
        "Persistent ID": persistent_id(),
        "Track Type": "File",
        "Location": location(path),
        "File Folder Count": 4,
        "Library Folder Count": 1,
    }


def write(library, music_folder, songs):
    tracks = {}
    for index, song in enumerate(songs):
        track_id = 1000 + 2 * index
        tracks[str(track_id)] = track(track_id, song)
    master = {
        "Name": "Library",
        "Master": True,
        "Playlist ID": 5000,
        "Playlist Persistent ID": persistent_id(),
        "Visible": False,
        "All Items": True,
        "Playlist Items": [{"Track ID": item["Track ID"]} for item in tracks.values()],
    }
    document = {
        "Major Version": 1,
        "Minor Version": 1,
        "Date": datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None, microsecond=0),
        "Application Version": "12.9.5.5",
        "Features": 5,
        "Show Content Ratings": True,
        "Music Folder": location(music_folder.rstrip("/") + "/"),
        "Library Persistent ID": persistent_id(),
        "Tracks": tracks,
        "Playlists": [master],
    }
    os.makedirs(os.path.dirname(library), exist_ok=True)
    with open(library, "wb") as file:
        plistlib.dump(document, file, fmt=plistlib.FMT_XML, sort_keys=False)


def file_of(item):
    place = item.get("Location", "")
    return urllib.parse.unquote(place[len(PREFIX):]) if place.startswith(PREFIX) else None


def read(library):
    with open(library, "rb") as file:
        document = plistlib.load(file)
    for item in document.get("Tracks", {}).values():
        if file_of(item):
            print(file_of(item))


def remove(library, path):
    with open(library, "rb") as file:
        document = plistlib.load(file)
    tracks = document.get("Tracks", {})
    gone = [key for key, item in tracks.items() if file_of(item) == path]
    if not gone:
        sys.exit("no track of " + path)
    for key in gone:
        del tracks[key]
    for playlist in document.get("Playlists", []):
        items = playlist.get("Playlist Items", [])
        playlist["Playlist Items"] = [item for item in items if str(item.get("Track ID")) not in gone]
    with open(library, "wb") as file:
        plistlib.dump(document, file, fmt=plistlib.FMT_XML, sort_keys=False)
    os.remove(path)


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3], sys.argv[4:])
    elif len(sys.argv) == 3 and sys.argv[1] == "read":
        read(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "remove":
        remove(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
