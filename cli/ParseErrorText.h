#pragma once
// CLI11 words its refusals of a command line in English. The common ones are
// recognised here and said again in the user's language, their option names and
// values kept as they were; any other stays as CLI11 wrote it.

#include <string>

std::string TranslateParseError(const std::string& english);
