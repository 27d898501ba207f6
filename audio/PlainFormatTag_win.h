#pragma once
// The sample type of a device format as a plain format tag (WAVE_FORMAT_PCM,
// WAVE_FORMAT_IEEE_FLOAT, ...), also for the extensible form, which names it by a GUID that
// carries the plain tag in its first field on a fixed base ({tag-0000-0010-8000-00AA00389B71}).

#include <windows.h>
#include <mmreg.h>

// 0 for an extensible format too short to hold its GUID or naming a type outside that base.
inline WORD PlainFormatTag(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE) return format.wFormatTag;
    if (format.cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX)) return 0;
    const GUID& subFormat = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat;
    static const GUID kBase = {0, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    GUID base = subFormat;
    base.Data1 = 0;
    if (!IsEqualGUID(base, kBase) || subFormat.Data1 > 0xFFFF) return 0;
    return static_cast<WORD>(subFormat.Data1);
}
