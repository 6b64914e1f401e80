// What the parameter pages need from the window that holds them: a way to have an editing
// gesture recorded. The main window implements it; the pages know nothing more of it.
#pragma once

namespace kettrik {

class EditorHost {
public:
    virtual void CommitChanges() = 0;

protected:
    ~EditorHost() = default;
};

} // namespace kettrik
