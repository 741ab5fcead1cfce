#include "model/Provinces.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace model {

namespace {

// The sigle of ISTAT's list of territorial units ("sigla automobilistica"), the 107 in force from
// 2017, with Sardinia as reorganised by its regional law 9/2023, whose new provinces took office
// in 2025: Gallura Nord-Est Sardegna (OT), Ogliastra (OG), Medio Campidano (VS) and Sulcis
// Iglesiente, listed as SU in some registers and CI in others, so both stay. "EE" is the usual
// entry for a subject abroad. Compiled in December 2026.
constexpr std::array<std::u16string_view, 112> kProvinces = {
    u"AG", u"AL", u"AN", u"AO", u"AP", u"AQ", u"AR", u"AT", u"AV", u"BA", u"BG", u"BI", u"BL", u"BN",
    u"BO", u"BR", u"BS", u"BT", u"BZ", u"CA", u"CB", u"CE", u"CH", u"CI", u"CL", u"CN", u"CO", u"CR",
    u"CS", u"CT", u"CZ", u"EE", u"EN", u"FC", u"FE", u"FG", u"FI", u"FM", u"FR", u"GE", u"GO", u"GR",
    u"IM", u"IS", u"KR", u"LC", u"LE", u"LI", u"LO", u"LT", u"LU", u"MB", u"MC", u"ME", u"MI", u"MN",
    u"MO", u"MS", u"MT", u"NA", u"NO", u"NU", u"OG", u"OR", u"OT", u"PA", u"PC", u"PD", u"PE", u"PG",
    u"PI", u"PN", u"PO", u"PR", u"PT", u"PU", u"PV", u"PZ", u"RA", u"RC", u"RE", u"RG", u"RI", u"RM",
    u"RN", u"RO", u"SA", u"SI", u"SO", u"SP", u"SR", u"SS", u"SU", u"SV", u"TA", u"TE", u"TN", u"TO",
    u"TP", u"TR", u"TS", u"TV", u"UD", u"VA", u"VB", u"VC", u"VE", u"VI", u"VR", u"VS", u"VT", u"VV",
};

} // namespace

bool isProvinceCode(QStringView sigla)
{
    const std::u16string_view wanted(reinterpret_cast<const char16_t *>(sigla.utf16()), sigla.size());
    return std::binary_search(kProvinces.begin(), kProvinces.end(), wanted);
}

} // namespace model
