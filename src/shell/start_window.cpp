#include "shell/start_window.h"

#include "forms/app.h"
#include "settings/settings_window.h"

Form1::Form1(App& app) : Window(app, "Form1") {}

void Form1::load() { app().form4(); }
