#include "batch/OutputNames.h"

#include "core/StringUtil.h"

wxString MakeOutputPath(const wxString& outputDir, const wxString& fileName,
                        const wxString& extension, const wxString& suffix) {
    return outputDir + "/" + StringUtil::BeforeLast(fileName, '.') + suffix + extension;
}
