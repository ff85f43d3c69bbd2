#include "AllForms.h"

#include "ApplyPatchForm.h"
#include "CheckForm.h"
#include "HowToForm.h"
#include "InfoForm.h"
#include "KelbrinForm.h"
#include "MakePatchForm.h"
#include "MakeScriptForm.h"

namespace kelbrin::form {

const std::vector<const Form*>& AllForms() {
    static const std::vector<const Form*> forms{
        &KelbrinForm(),    &HowToForm(),      &InfoForm(),     &CheckForm(),
        &MakeScriptForm(), &ApplyPatchForm(), &MakePatchForm()};
    return forms;
}

} // namespace kelbrin::form
