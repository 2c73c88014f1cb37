#!/usr/bin/env python3
"""Compares two library files with Python's own property-list reader (plistlib), independent of the
stand-in's reader: the second file must hold everything the first held, value for value and with every
dict's keys in their order, but for the one change the test made. "Date" may differ (each save writes
its own). Prints every difference and exits with 1 when there is one.

compare_library_files.py BEFORE AFTER [--track KEY FIELD JSON] [--playlist NAME JSON]
  --track: the track under KEY in the Tracks dict has FIELD set to the JSON value; its other keys stay.
  --playlist: the playlist of that name holds items of the Track IDs in the JSON list; its other keys
  stay.
"""
import argparse
import json
import plistlib
import sys

problems = []


def same(label, before, after):
    """Equal values, and every dict with its keys in the same order, at every level."""
    if isinstance(before, dict):
        if not isinstance(after, dict) or list(before) != list(after):
            problems.append("%s: keys %r became %r" % (label, list(before), after if not isinstance(after, dict)
                                                        else list(after)))
            return
        for key in before:
            same("%s/%s" % (label, key), before[key], after[key])
        return
    if isinstance(before, list):
        if not isinstance(after, list) or len(before) != len(after):
            problems.append("%s: %r became %r" % (label, before, after))
            return
        for i, (b, a) in enumerate(zip(before, after)):
            same("%s[%d]" % (label, i), b, a)
        return
    if type(before) is not type(after) or before != after:
        problems.append("%s: %r became %r" % (label, before, after))


def changed_track(label, before, after, field, value):
    if after.get(field) != value or type(after.get(field)) is not type(value):
        problems.append("%s/%s: %r is not the new value %r" % (label, field, after.get(field), value))
    kept_before = {key: item for key, item in before.items() if key != field}
    kept_after = {key: item for key, item in after.items() if key != field}
    same(label, kept_before, kept_after)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--track", nargs=3, metavar=("KEY", "FIELD", "JSON"))
    parser.add_argument("--playlist", nargs=2, metavar=("NAME", "JSON"))
    options = parser.parse_args()
    with open(options.before, "rb") as file:
        before = plistlib.load(file)
    with open(options.after, "rb") as file:
        after = plistlib.load(file)

    top_before = {key: value for key, value in before.items() if key not in ("Date", "Tracks", "Playlists")}
    top_after = {key: value for key, value in after.items() if key not in ("Date", "Tracks", "Playlists")}
    same("top", top_before, top_after)
    if [key for key in before if key != "Date"] != [key for key in after if key != "Date"]:
        problems.append("top: keys %r became %r" % (list(before), list(after)))

    tracks_before = before.get("Tracks", {})
    tracks_after = after.get("Tracks", {})
    if list(tracks_before) != list(tracks_after):
        problems.append("Tracks: %d keys became %d, or their order changed" % (len(tracks_before),
                                                                              len(tracks_after)))
    for key, track in tracks_before.items():
        label = "Tracks/%s" % key
        if key not in tracks_after:
            problems.append("%s: lost" % label)
        elif options.track and key == options.track[0]:
            changed_track(label, track, tracks_after[key], options.track[1], json.loads(options.track[2]))
        else:
            same(label, track, tracks_after[key])

    lists_before = before.get("Playlists", [])
    lists_after = after.get("Playlists", [])
    if len(lists_before) != len(lists_after):
        problems.append("Playlists: %d became %d" % (len(lists_before), len(lists_after)))
    for i, (b, a) in enumerate(zip(lists_before, lists_after)):
        label = "Playlists[%d] %s" % (i, b.get("Name"))
        if options.playlist and b.get("Name") == options.playlist[0]:
            ids = [item.get("Track ID") for item in a.get("Playlist Items", [])]
            if ids != json.loads(options.playlist[1]) or any(type(i) is not int for i in ids):
                problems.append("%s: items %r" % (label, ids))
            b = {key: value for key, value in b.items() if key != "Playlist Items"}
            a = {key: value for key, value in a.items() if key != "Playlist Items"}
        same(label, b, a)

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
