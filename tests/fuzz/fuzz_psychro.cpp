// Fuzzes every Hygrel32 export with arbitrary arguments, NaN and infinities
// included. Every call must return (libFuzzer's -timeout catches a hang)
// without a sanitizer report.
#include <cstdint>
#include <cstring>

#include "psychro/hygrel32.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    float F() {
        float v = 0;
        if (pos + sizeof v <= size) std::memcpy(&v, data + pos, sizeof v);
        pos += sizeof v;
        return v;
    }
    double D() {
        double v = 0;
        if (pos + sizeof v <= size) std::memcpy(&v, data + pos, sizeof v);
        pos += sizeof v;
        return v;
    }
    int16_t Z() {
        int16_t v = 0;
        if (pos + sizeof v <= size) std::memcpy(&v, data + pos, sizeof v);
        pos += sizeof v;
        return v;
    }
};

volatile double g_sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    Reader r{data + 1, size - 1};
    const float a = r.F(), b = r.F(), c = r.F();
    const double d = r.D();
    const int16_t z = r.Z();
    switch (data[0] % 42) {
        case 0:
            g_sink = PLV();
            break;
        case 1:
            g_sink = XPWS(a);
            break;
        case 2:
            g_sink = XFS(a, b);
            break;
        case 3:
            g_sink = XPWSAPP(a, b);
            break;
        case 4:
            g_sink = XTDP(d);
            break;
        case 5:
            g_sink = XTDPAPP(a, d);
            break;
        case 6:
            g_sink = HGSATGRAINS(a, z);
            break;
        case 7:
            g_sink = HGPSATGRAINS(a, b);
            break;
        case 8:
            g_sink = HGDENSITY(a, b, z);
            break;
        case 9:
            g_sink = HGPDENSITY(a, b, c);
            break;
        case 10:
            g_sink = HGENTHALPY(a, b);
            break;
        case 11:
            g_sink = HGDEWPOINT(a, z);
            break;
        case 12:
            g_sink = HGPDEWPOINT(a, b);
            break;
        case 13:
            g_sink = HGRH(a, b, z);
            break;
        case 14:
            g_sink = HGPRH(a, b, c);
            break;
        case 15:
            g_sink = HGRHTOGR(a, b, z);
            break;
        case 16:
            g_sink = HGPRHTOGR(a, b, c);
            break;
        case 17:
            g_sink = HGSATVP(a);
            break;
        case 18:
            g_sink = HGWETBULB(a, b, z);
            break;
        case 19:
            g_sink = HGPWETBULB(a, b, c);
            break;
        case 20:
            g_sink = HGWBTOGR(a, b, z);
            break;
        case 21:
            g_sink = HGPWBTOGR(a, b, c);
            break;
        case 22:
            g_sink = HGWB_RHTOGRAINS(a, b, z);
            break;
        case 23:
            g_sink = HGPWB_RHTOGRAINS(a, b, c);
            break;
        case 24:
            g_sink = HGSI_SATGRAMS(a, z);
            break;
        case 25:
            g_sink = HGSI_PSATGRAMS(a, b);
            break;
        case 26:
            g_sink = HGSI_DENSITY(a, b, z);
            break;
        case 27:
            g_sink = HGSI_PDENSITY(a, b, c);
            break;
        case 28:
            g_sink = HGSI_ENTHALPY(a, b);
            break;
        case 29:
            g_sink = HGSI_DEWPOINT(a, z);
            break;
        case 30:
            g_sink = HGSI_PDEWPOINT(a, b);
            break;
        case 31:
            g_sink = HGSI_RH(a, b, z);
            break;
        case 32:
            g_sink = HGSI_PRH(a, b, c);
            break;
        case 33:
            g_sink = HGSI_RHTOGRAMS(a, b, z);
            break;
        case 34:
            g_sink = HGSI_PRHTOGRAMS(a, b, c);
            break;
        case 35:
            g_sink = HGSI_SATVP(a);
            break;
        case 36:
            g_sink = HGSI_WETBULB(a, b, z);
            break;
        case 37:
            g_sink = HGSI_PWETBULB(a, b, c);
            break;
        case 38:
            g_sink = HGSI_WBTOGR(a, b, z);
            break;
        case 39:
            g_sink = HGSI_PWBTOGR(a, b, c);
            break;
        case 40:
            g_sink = HGSI_WB_RHTOGRAMS(a, b, z);
            break;
        case 41:
            g_sink = HGSI_PWB_RHTOGRAMS(a, b, c);
            break;
    }
    return 0;
}
