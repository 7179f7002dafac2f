#include "shell/start_window.h"

#include "forms/app.h"

Form1::Form1(App& app) : Window(app, "Form1") {}

void Form1::load() {}
