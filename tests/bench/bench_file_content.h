#pragma once
// The bytes of one benchmark file, from its plan alone.
#include <string>

#include "bench_tree_plan.h"

std::string benchFileContent(const BenchFile& file);
