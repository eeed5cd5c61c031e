#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A pair of `uin` in `folder` (made with its parents) holding one message per stamp, named
// <uin>msg.dat / <uin>msg.idx, or in capitals as copied from another system. Fails the
// test when it cannot be written.
void WriteScanHistory(const std::string& folder, std::int32_t uin,
                      const std::vector<std::int32_t>& stamps, bool capitals = false);
