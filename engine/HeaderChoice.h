#pragma once

namespace kelbrin {

// Which of the two buttons a run answers: the expanded file gets the script's header, or none.
enum class HeaderChoice { AddOrReplace, IgnoreOrRemove };

} // namespace kelbrin
