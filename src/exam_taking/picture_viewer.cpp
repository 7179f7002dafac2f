#include "exam_taking/picture_viewer.h"

#include "forms/app.h"

Form3::Form3(App& app) : Window(app, "Form3") {}

void Form3::load() {}
