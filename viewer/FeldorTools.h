// The web addresses of the Info menu's links: public pages on amateur radio and on the rules for
// electromagnetic exposure.
#pragma once

namespace FeldorTools {

// "&RAVK": the German amateur radio association.
inline constexpr const char* UrlClub = "https://www.darc.de/";
// "EZNEC": the exposure ordinance as published by the federal ministry of justice.
inline constexpr const char* UrlRegulation = "https://www.gesetze-im-internet.de/bemfv/";
// "NECWin Pro": the federal network agency, which checks the site declarations.
inline constexpr const char* UrlAgency = "https://www.bundesnetzagentur.de/";
// "4Nec2": the federal office for radiation protection.
inline constexpr const char* UrlRadiation = "https://www.bfs.de/";
// "MMANA": the international amateur radio union.
inline constexpr const char* UrlUnion = "https://www.iaru.org/";

}  // namespace FeldorTools
