// The current date, time and year as text.
#pragma once

#include <string>

std::string NowDateString();  // the locale's short date format
std::string NowTimeString();  // the locale's time format
std::string NowYearString();
