// Key drawings of the keyboard model: one pair of pictures per key type,
// model_kb/k<type>-0.png (normal) and model_kb/k<type>-1.png (highlight).
// Keep this table in step with the key types that
// modules/setting/HWDef.bin uses (its header comment lists them); the skin
// test fails when the layout names a type that is missing here.
#pragma once

struct KeyType {
    int type;
    int width;
    int height;
};

inline constexpr KeyType keyTypes[] = {
    {1, 29, 29},  // 1u
    {2, 37, 29},  // 1.25u
    {3, 45, 29},  // 1.5u
    {4, 52, 29},  // 1.75u
    {5, 60, 29},  // 2u
    {6, 68, 29},  // 2.25u
    {7, 83, 29},  // 2.75u
    {8, 192, 29}, // 6.25u space bar
    {9, 29, 60},  // tall keypad key (+, Enter)
};
