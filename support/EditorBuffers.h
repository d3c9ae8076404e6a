#pragma once

#include "session/Command.h"
#include "store/RecordFile.h"

// The lines an editor starts with, filled by the main window just before it shows the
// editor, and what they are the lines of: the editor's save goes there.
struct EditorBuffer {
    CommandTarget target;
    Lines lines;
};

// The buffers of the three line editors.
struct EditorBuffers {
    EditorBuffer albumList;
    EditorBuffer songList;
    EditorBuffer songText;
};
