// Helpers of the fuzz targets: the input as a memory file or as a file on disk, and leak
// reports switched off where a damaged input leaves objects behind by design.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/CMemFile.h"

namespace fuzz {

// Fills a memory file with the input and puts it back at its start.
void Fill(CMemFile& file, const uint8_t* data, size_t size);

// A folder of this process's own, made on first use and removed at exit.
const std::string& Folder();

// Writes the input to a new file named after `name` in the folder; returns its path. Each call
// writes a file of its own, so nothing read before is cached under its name.
std::string WriteFile(const std::string& name, const uint8_t* data, size_t size);

// The source tree's root, for data files such as the conversion tables.
const char* SourceRoot();

// While one lives, what is allocated is never reported as leaked: archives keep the objects a
// damaged stream made before it failed (an object read inside another may point at it).
class LeaksIgnored {
 public:
  LeaksIgnored();
  ~LeaksIgnored();
  LeaksIgnored(const LeaksIgnored&) = delete;
  LeaksIgnored& operator=(const LeaksIgnored&) = delete;
};

}  // namespace fuzz
