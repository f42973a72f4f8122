// The request target of an MPOS API query: the pool's script path, then page, action and api_key.
#pragma once
#include <string>
#include <string_view>

namespace orelog {

// "/<path>?page=api&action=<action>&api_key=<key>". The key is percent-encoded (every byte of its
// UTF-8 form outside A-Z a-z 0-9 - _ . ~), so it is always exactly one query member; characters of
// the path that may not stand in a URL (controls, spaces, non-ASCII and the like) are encoded too.
std::u16string buildRequestTarget(std::u16string_view path, std::string_view action, std::u16string_view apiKey);

// Percent-encodes every byte outside the unreserved set A-Z a-z 0-9 - _ . ~
std::string percentEncodeUnreserved(std::string_view bytes);

}  // namespace orelog
