// The least an all-or-nothing save can do, as a reference for the store's:
// write a temporary file, fsync it, rename it over the file, fsync the folder.
#pragma once

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

// One such save of bytes as folder/VEQPrefs.xml per iteration of state.
void saveBareInEveryIteration(benchmark::State& state, const std::filesystem::path& folder, const std::string& bytes);
