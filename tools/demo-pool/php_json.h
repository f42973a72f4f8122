// JSON text written the way PHP's json_encode writes it: "\/" for slashes, \uXXXX for non-ASCII.
#pragma once
#include <string>
#include <string_view>

#include <picojson.h>

namespace orelog::demo {

void appendJsonString(std::string& out, std::string_view text);
// The shortest text that reads back as the same double, as PHP 7.1+ prints floats.
void appendJsonNumber(std::string& out, double value);
void appendJsonValue(std::string& out, const picojson::value& value);

}  // namespace orelog::demo
