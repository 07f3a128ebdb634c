// The program's one window of a kind: the record windows, their find windows and the output
// windows the main window opens once each.  A window made while another of its kind is open does
// not replace it as the one the program reaches.
//
//     class FactorFond : public FindDialog, public OneInstance<FactorFond> { ... };
//     FactorFond::FactorFond(...) : FindDialog(...) { Claim(this); ... }
//     if (FactorFond* find = FactorFond::Global()) ...
#pragma once

#include <QPointer>

// The program's one window of a kind W (a record window, a find window): the first one made
// claims Global(), which is empty again once that window is gone.
template <class W>
class OneInstance {
public:
    static QPointer<W>& Global()
    {
        static QPointer<W> instance;
        return instance;
    }

protected:
    // From W's constructor: `made` becomes the program's one unless another one is open.
    static void Claim(W* made)
    {
        if (!Global())
            Global() = made;
    }
};
