#include "batch/OutputNames.h"

#include "core/StringUtil.h"

wxString MakeOutputPath(const wxString& outputDir, const wxString& fileName,
                        const wxString& extension) {
    return outputDir + "/" + StringUtil::BeforeLast(fileName, '.') + "_encryption" + extension;
}
