#pragma once
// The files GDAL would read for a dataset, checked before GDAL opens any: the file itself,
// the files a VRT names (and those their VRTs name), and the files beside it that GDAL looks
// for (".aux.xml", ".ovr", world files). Opening a FIFO or a device would block or never end.
#include <optional>
#include <string>

namespace ovd {

// Nullopt when every file is a regular one (or missing: GDAL then says so itself); else the
// reason, naming the file ("soubor X není obyčejný soubor.").
std::optional<std::string> unsafeGdalInput(const std::string& path);

}  // namespace ovd
