// Checks on the entered text beyond what TextToLong reads from it.
#pragma once

// True when the digits TextToLong takes from `text` (after leading spaces and one sign) have a
// value of at most 2^31 - 1. TextToLong keeps only the value modulo 2^32, so "4294967308"
// would otherwise pass as 12.
bool InputDigitsFit(const char* text);
