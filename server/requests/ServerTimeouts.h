#pragma once
// How long the listening side waits for its clients, in milliseconds.

struct ServerTimeouts {
    int idleMs = 120000;        // a connection that sends no request for this long is closed
    int headerMs = 30000;       // a header must be whole this long after its first byte came
    int payloadStallMs = 30000; // each wait for more of a request's payload
    int answerStallMs = 30000;  // each wait for the client to take more of an answer
    int acceptPauseMs = 100;    // the pause after a failed accept
};
