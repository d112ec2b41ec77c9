#include "foundation/FileLib.h"

#include "foundation/DirectoryUtilsLib.h"
#include "platform/rtl/SysUtils.h"

std::string FileNameWithoutExt(const std::string& FileName)
{
    const std::size_t Dot = FileName.rfind('.');
    if (Dot == std::string::npos) return FileName;
    const std::size_t Delim = FileName.rfind(rtl::PathDelim);
    if (Delim != std::string::npos && Delim > Dot) return FileName;  // the dot is in a folder name
    return FileName.substr(0, Dot);
}

std::string FileDirectory(const std::string& FileName)
{
    return IncludeTrailingBackslash(rtl::ExtractFilePath(FileName));
}
