#pragma once

#include <string>

#include "simulation/field.h"

// The field as one JSON object. Floats are printed with nine significant
// digits, so each reads back to the same 32-bit value.
std::string fieldToJson(const Field& field);
