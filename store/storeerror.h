#pragma once

#include <stdexcept>
#include <string>

struct sqlite3;

namespace store {

// A failure of the store, carrying the engine's own message so that whoever
// reports it can show the user what the engine said.
class StoreError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws StoreError with the connection's current message, prefixed by what we tried.
[[noreturn]] void throwEngineError(sqlite3 *db, const std::string &what);

} // namespace store
