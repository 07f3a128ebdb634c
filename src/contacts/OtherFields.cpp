#include "contacts/OtherFields.h"

const std::array<OtherField, kOtherBoxes>& OtherFields()
{
    static const std::array<OtherField, kOtherBoxes> fields = {{
        {0, "類別", 14, 554, 14, 1, ""},
        {1, "RV18A1", 15, 555, 10, 1, ""},
        {2, "RV18A2", 16, 556, 8, 1, ""},
        {3, "RV18A3", 17, 557, 25, 1, ""},
        {4, "RV18A4", 4, 544, 10, 1, ""},
        {5, "性別", 0, 540, 10, 1, ""},
        {6, "RV18A8", 7, 547, 10, 1, ""},
        {7, "RV18A7", 6, 546, 20, 1, ""},
        {8, "RV18A9", 8, 548, 30, 1, ""},
        {9, "RV18A11", 10, 550, 30, 1, ""},
        {10, "RV18A12", 11, 551, 30, 1, ""},
        {11, "RV18A13", 12, 552, 30, 1, ""},
        {12, "RV18A10", 9, 549, 30, 1, ""},
        {13, "RV18A6", 5, 545, 50, 1, ""},
        {14, "RV18Ahttp", 1, 541, 50, 1, ""},
        {15, "RV18A14", 13, 553, 0, 1, ""},
        {16, "RV18A15", 2, 542, 50, 2, ""},
        {17, "RV18A16", 3, 543, 50, 2, ""},
        {18, "RV18A17", 18, 558, 255, 2, ""},
    }};
    return fields;
}

int OtherPageOf(int box) { return box < 16 ? 1 : 2; }

const std::array<OtherFindBox, kOtherFindBoxes>& OtherFindBoxes()
{
    static const std::array<OtherFindBox, kOtherFindBoxes> boxes = {{
        {0, "類別", 13, 0, "類別", true},
        {1, "RV18A1", 1, 781, "", true},
        {2, "RV18A2", 2, 782, "", false},
        {3, "RV18A3", 3, 783, "", true},
        {4, "RV18A4", 4, 784, "", true},
        {5, "性別", 0, 780, "", false},
        {6, "RV18A8", 7, 787, "", false},
        {7, "RV18A7", 6, 786, "", true},
        {8, "RV18A9", 8, 788, "", false},
        {9, "RV18A10", 9, 789, "", true},
        {10, "RV18A11", 10, 790, "", true},
        {11, "RV18A12", 11, 791, "", true},
        {12, "RV18A13", 12, 792, "", true},
        {13, "RV18A17", 5, 785, "", true},
    }};
    return boxes;
}

QStringList SexPickItems() { return {QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("其他")}; }
