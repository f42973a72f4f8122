// The built-in list of MPOS pools offered on the connect screen, ordered by display name.
#pragma once
#include <map>
#include <optional>
#include <string>

namespace orelog {

// display name -> pool URL; std::u16string compares code unit by code unit as unsigned values,
// a proper prefix first, which is exactly the order the connect screen lists.
using PoolDirectory = std::map<std::u16string, std::u16string>;

PoolDirectory makePoolDirectory();
// Exact, case-sensitive match of the whole display name.
std::optional<std::u16string> findPoolUrl(const PoolDirectory& directory, const std::u16string& name);
// Exact match of the whole URL; of several matches the last in directory order.
std::optional<std::u16string> findPoolName(const PoolDirectory& directory, const std::u16string& url);

}  // namespace orelog
