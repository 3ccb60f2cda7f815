// File services: existence tests, whole-file read, atomic replace, folder creation.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace Ryvel::Platform {

bool FileExists(const std::filesystem::path& path);
bool DirectoryExists(const std::filesystem::path& path);

// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames
// it over `path`, so readers see either the old file or the new one, never a part.
// Returns false (the old file untouched, the temporary file removed) on any error.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::filesystem::path& path);

bool DeleteFileIfExists(const std::filesystem::path& path);

// A path from the UTF-16 strings the plug-in works with, and back.
std::filesystem::path PathFromUtf16(std::u16string_view s);
std::u16string PathToUtf16(const std::filesystem::path& p);

} // namespace Ryvel::Platform
