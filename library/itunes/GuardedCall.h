#pragma once
// An exception raised inside an operation of the music application's clients becomes that operation's
// own code.

template <class Work> int Guarded(int exceptionCode, const Work& work) {
    try {
        return work();
    } catch (...) {
        return exceptionCode;
    }
}
