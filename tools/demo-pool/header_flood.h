// The header flood: an answer whose header lines never end, written straight onto the connection.
#pragma once
#include <string>

namespace orelog::demo {

// Sends a status line and then header lines without end on this process's connection to the peer
// at address:port, until the peer stops taking them; then shuts the connection down. False when
// no such connection is open.
bool floodHeaders(const std::string& peerAddress, int peerPort);

}  // namespace orelog::demo
