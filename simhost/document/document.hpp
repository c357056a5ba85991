#pragma once

namespace simhost {

// The in-memory document. (Stub: the document helper replaces this with the full model.)
class Document {
  public:
    // Called when an outermost message begins: undo returns the document to this state.
    void beginMessage() {}
};

}  // namespace simhost
