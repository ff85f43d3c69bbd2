#include "WrittenScript.h"

#include "FileHandle.h"
#include "FileIdentity.h"
#include "RuntimeError.h"

namespace kelbrin {

CheckedScript WriteScript(const ScriptRequest& request, const std::string& path,
                          const std::function<bool()>& mayReplace) {
    // Nothing, not even an author's yes, writes a script over the ROMs it is made from.
    for (const std::string& rom : {request.OriginalPath, request.ExpandedPath}) {
        if (SameExistingFile(path, rom)) {
            throw RuntimeError(ErrPermissionDenied,
                               "the script '" + path + "' would replace '" + rom + "'");
        }
    }
    // Asked before the work; the move that puts the script in place refuses again should a
    // file appear there meanwhile.
    const bool replace = ExistingFileKey(path).has_value();
    if (replace && !mayReplace()) {
        throw RuntimeError(ErrFileAlreadyExists, "the script '" + path + "' exists already");
    }
    return CheckedScript(request, path, replace ? ScriptFile::NewOrReplacing : ScriptFile::New);
}

} // namespace kelbrin
