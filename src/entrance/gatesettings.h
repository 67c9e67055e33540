#pragma once
// The gate's workstation switches, kept in this workstation's configuration
// file (Bin/Pginfo.Ini), section GATE:
//   Sounds=1   play Bin/InOk.Wav (twice) on admission and Bin/Error.Wav on a
//              refusal; anything else (or no key) keeps the gate silent.

#include <QString>

namespace fitrova {

class AppContext;

extern const char *const kGateSection;   // "GATE"
extern const char *const kGateSoundsKey; // "Sounds"

bool gateSoundsOn(const AppContext &ctx);
bool setGateSounds(const AppContext &ctx, bool on);

} // namespace fitrova
