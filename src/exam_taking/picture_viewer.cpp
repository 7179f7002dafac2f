#include "exam_taking/picture_viewer.h"

#include "common/decimal.h"
#include "common/settings_file.h"
#include "exam_content/ticket_editor.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "settings/settings_window.h"

#include <cmath>

using namespace forms;

namespace {

constexpr int kPictureMargin = 10;      // twips from the window's left and top edges
constexpr int kTicketWindowGap = 100;   // twips between the picture and the ticket window
constexpr int kLargestFixedSize = 5000; // pixels; anything larger is a typing slip

// A fixed picture size typed in pixels, in twips; empty optional for a text that is no
// usable size (not a number, not positive, absurdly large).
std::optional<int> twipsOf(const QString& pixels) {
    const std::optional<Decimal> value = Decimal::parse(pixels);
    if (!value || *value <= Decimal() || *value > Decimal::fromInt(kLargestFixedSize))
        return std::nullopt;
    return int(std::lround(value->toDouble() * kTwipsPerPixel));
}

// Stretches the picture to the fixed size; leaves it as it is when either size is empty
// or unusable. True when it was stretched.
bool stretchTo(Image& image, const QString& width, const QString& height) {
    const std::optional<int> w = twipsOf(width);
    const std::optional<int> h = twipsOf(height);
    if (!w || !h) return false;
    image.setStretch(true);
    image.move(kPictureMargin, kPictureMargin, *w, *h);
    return true;
}

} // namespace

Form3::Form3(App& app) : Window(app, kName) {
    setCaption(QStringLiteral("Проверон"));
    place(Frame8,
          {&Text4, &Text1, &Option1, &Option2, &Check1, &Label2, &Label3, &Label12, &Label14});

    keepLanguageIn(Label4);
    captions_.applyDesign();
    Label1.setCaption(QStringLiteral("0"));

    Timer1.setInterval(100);
    Timer1.setEnabled(false);

    // Event table.
    Timer1.onTick = [this] { applyPicture(); };
    Option1.onClick = [this] { showFixedSize(); };
    Option2.onClick = [this] { Image1.setStretch(false); };
    Text4.onChange = [this] { fixedSizeChanged(); };
    Text1.onChange = [this] { fixedSizeChanged(); };
    Command2.onClick = [this] { close(); };
}

void Form3::load() {
    Label4.setCaption(app().language());
    const QSize screen = app().services().screen.sizePixels();
    move(0, 0, screen.width() * kTwipsPerPixel, screen.height() * kTwipsPerPixel);
    Image1.move(kPictureMargin, kPictureMargin, Image1.width(), Image1.height());
    Label1.hide();
    Label4.hide();
    Timer1.setEnabled(true);

    Form4& settings = app().window<Form4>();
    Text4.setText(settings.Text4.text());
    Text1.setText(settings.Text1.text());
    // Opened from the ticket editor, the real size of its picture stands beside the fields.
    if (const Form7* editor = app().loaded<Form7>()) {
        Label2.setCaption(editor->Label12.caption() + QStringLiteral(" "));
        Label3.setCaption(editor->Label13.caption() + QStringLiteral("  пик"));
    }

    captions_.apply(Label4.caption());

    // The size panel starts in the mode in force, so that taking the sizes over does not
    // switch the mode behind the teacher's back.
    if (settings.Label16.caption() == QStringLiteral("1")) {
        Option1.setValue(true);
    } else {
        Option2.setValue(true);
    }
}

void Form3::applyPicture() {
    Timer1.setEnabled(false);
    const QString& source = Label1.caption();
    if (source == QStringLiteral("1")) {
        Frame8.show();
        const Form7* editor = app().loaded<Form7>();
        Image1.setPicture(editor ? editor->Image1.picture() : QImage());
        return;
    }
    if (source != QStringLiteral("0")) return;

    Frame8.hide();
    // Only a ticket window that is open hands its picture over; none is opened from here.
    Form2* ticket = app().loaded<Form2>();
    Image1.setPicture(ticket ? ticket->Image1.picture() : QImage());

    Form4& settings = app().window<Form4>();
    // A fixed size that cannot be used (empty, no number, not positive, absurdly large)
    // falls back to the real size, so the topmost ticket window never covers the picture.
    const bool fixed = settings.Label16.caption() == QStringLiteral("1");
    if (!fixed || !stretchTo(Image1, settings.Text4.text(), settings.Text1.text()))
        Image1.setStretch(false);
    if (ticket) ticket->move(Image1.width() + kTicketWindowGap, ticket->top());
}

void Form3::showFixedSize() { stretchTo(Image1, Text4.text(), Text1.text()); }

void Form3::fixedSizeChanged() {
    if (Option1.value()) showFixedSize();
}

void Form3::close() {
    Label1.setCaption(QStringLiteral("0"));
    if (Check1.checked()) {
        Form4& settings = app().window<Form4>();
        settings.Text4.setText(Text4.text());
        settings.Text1.setText(Text1.text());
        if (Option1.value()) {
            settings.Option1.setValue(true);
        } else {
            settings.Option2.setValue(true);
        }
    }
    hide();
    app().unload(*this);
}
