#pragma once

// Makes the lighting preview's types available to the scene
// ("import Q3.Preview 1.0"). Call before the scene is loaded.
void registerPreviewTypes();
