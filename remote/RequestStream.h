#pragma once
// A request taken as its payload arrives, for a handler that would otherwise hold a large payload
// whole in memory before it could begin (a file sent to the server).

#include "foundation/PayloadSink.h"
#include "remote/WireMessage.h"

class RequestStream : public PayloadSink {
public:
    // The answer, once every piece has come and the checksum of the whole has held. A stream that is
    // never finished leaves nothing behind.
    virtual WireMessage Finish() = 0;
};
