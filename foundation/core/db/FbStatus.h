#pragma once

#include "DbError.h"

#include <firebird/Interface.h>

// Internal to the connection layer: one status wrapper per call, turned into
// a DbError with the engine's formatted text.
namespace FbStatus {

Firebird::IMaster *master();
DbError toDbError(const Firebird::FbException &e);

// Runs fn(status) with a throwing status wrapper and converts a Firebird
// failure into DbError.
template <typename Fn>
auto call(Fn &&fn) -> decltype(fn(std::declval<Firebird::ThrowStatusWrapper *>()))
{
    Firebird::ThrowStatusWrapper status(master()->getStatus());
    struct Dispose
    {
        Firebird::ThrowStatusWrapper &s;
        ~Dispose() { s.dispose(); }
    } dispose{status};
    try {
        return fn(&status);
    } catch (const Firebird::FbException &e) {
        throw toDbError(e);
    }
}

} // namespace FbStatus
