#pragma once

namespace simhost {

// The dialog toolkit. (Stub: the toolkit helper replaces this with the full model.)
class DialogToolkit {};

}  // namespace simhost
