#pragma once
// What binds songs to live tracks: the iTunes client of a library, an iPod seen through iTunes, or a
// playlist. Each binding names its owner, so that the owner can find its own bindings again and drop
// them; an owner is only ever compared, never called through a binding.

class ITunesBindingOwner {
protected:
    ITunesBindingOwner() = default;
    ~ITunesBindingOwner() = default;
};
