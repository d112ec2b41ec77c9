// The web addresses of the Info menu's links.
#pragma once

namespace FeldorTools {

// "&RAVK": the authority for amateur radio, which receives the site self-declaration.
inline constexpr const char* UrlRAVK = "https://www.bundesnetzagentur.de";
// "EZNEC", "NECWin Pro", "4Nec2", "MMANA": the home pages of the simulation programs whose
// near-field output the viewer reads.
inline constexpr const char* UrlEZNEC = "https://www.eznec.com";
inline constexpr const char* UrlNECWinPro = "https://www.nittany-scientific.com";
inline constexpr const char* Url4Nec2 = "https://www.qsl.net/4nec2/";
inline constexpr const char* UrlMMANA = "https://hamsoft.ca/pages/mmana-gal.php";

}  // namespace FeldorTools
