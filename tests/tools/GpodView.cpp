#include "GpodView.h"

#include <gpod/itdb.h>
#include <gtest/gtest.h>

GpodView ReadWithGpod(const std::string& mountPoint) {
    GError* error = nullptr;
    Itdb_iTunesDB* db = itdb_parse(mountPoint.c_str(), &error);
    EXPECT_NE(nullptr, db) << (error ? error->message : "");
    GpodView view;
    if (!db)
        return view;
    for (GList* t = db->tracks; t; t = t->next) {
        auto* track = static_cast<Itdb_Track*>(t->data);
        gchar* file = itdb_filename_on_ipod(track);
        const std::string title = track->title ? track->title : "";
        view.files[title] = file ? file : "";
        view.added[title] = track->time_added;
        g_free(file);
    }
    for (GList* p = db->playlists; p; p = p->next) {
        auto* playList = static_cast<Itdb_Playlist*>(p->data);
        view.playLists[playList->name ? playList->name : ""] = static_cast<int>(g_list_length(playList->members));
    }
    itdb_free(db);
    return view;
}

bool MakePodWithGpod(const std::string& mountPoint, const std::string& modelNumber, const std::string& name) {
    GError* error = nullptr;
    const gboolean made = itdb_init_ipod(mountPoint.c_str(), modelNumber.c_str(), name.c_str(), &error);
    EXPECT_TRUE(made) << (error ? error->message : "");
    if (error)
        g_error_free(error);
    return made;
}
