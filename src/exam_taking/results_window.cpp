#include "exam_taking/results_window.h"

#include "forms/app.h"

Form5::Form5(App& app) : Window(app, "Form5") {}

void Form5::load() {}
void Form5::fillFromTicketWindow() {}
