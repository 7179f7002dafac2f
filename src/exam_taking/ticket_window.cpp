#include "exam_taking/ticket_window.h"

#include "forms/app.h"

Form2::Form2(App& app) : Window(app, "Form2") {}

void Form2::load() {}
