// The product's name and version, as both programs show them.
#pragma once

constexpr const char kProductName[] = "Quantara";
constexpr const char kProductVersion[] = "11.04.01";
