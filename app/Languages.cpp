#include <QString>

#include "app/Form.h"
#include "app/Texts.h"
#include "trainer/Marks.h"
#include "ui/Look.h"

void TForm3::SetCaptions(int row) {
    const UiTextRow& text = UiText[row];
    auto caption = [](int entry, const UiTextRow& t) { return QString::fromUtf8(t[entry]); };

    Button10.setText(caption(1, text));
    Button11.setText(caption(2, text));
    Button1.setText(caption(4, text));
    ui::Button* const numberButtons[] = {&Button2, &Button3, &Button4, &Button5,
                                         &Button6, &Button7, &Button8, &Button9};
    int digit = 2;
    for (ui::Button* button : numberButtons) {
        button->setText(caption(5, text) + QString::number(digit++));
    }
    Button12.setText(caption(3, text));
    Button13.setText(caption(6, text));
    Button14.setText(caption(7, text));
    Button15.setText(caption(13, text));
    Button16.setText(caption(14, text));
    Button17.setText(caption(36, text));
    Button18.setText(caption(14, text));
    Label11.setText(caption(19, text));
    Label2.setText(caption(23, text));
    Label3.setText(caption(24, text));
    Label17.setText(caption(37, text));
    Label21.setText(caption(38, text));
    Label18.setText(caption(39, text));
    Label19.setText(caption(40, text));
    Label20.setText(caption(41, text));
}

void TForm3::ComboBox1Change() {
    if (ComboBox1.tag() == 1) {
        return;
    }
    LanguageRow = ui::checkedCast<std::uint8_t>(ComboBox1.itemIndex() + 1);
    AmericanEnglish = 0;
    if (LanguageRow == 3) {
        LanguageRow = 2;
        AmericanEnglish = 1;
        Progress.LanguageCode = kLanguageCodeAmerican;
    } else {
        Progress.LanguageCode = LanguageRow;
    }
    // The new language is an unwritten change until Save.dat is written, so that a failed write
    // is tried again later.
    ProgressDirty = 1;
    SetCaptions(LanguageRow);
    SelectNumber(SelectedNumber);
    DrawMarkLegend();
    DrawHelpScreen(Button18.visible() ? 0 : 1);
    TrackBar3Change();
    SaveProgress(Operation, 1, 0, 0);
}

void TForm3::DrawMarkLegend() {
    const double width = ImageViewer2.width();
    const double height = ImageViewer2.height();
    SharedBitmap.setSize(static_cast<int>(width), static_cast<int>(height));
    {
        ui::Canvas canvas(SharedBitmap);
        const ui::Palette& palette = ui::palette();
        canvas.clear(palette.legendBackground);
        canvas.setFont(16);
        canvas.setFillColor(palette.legendText);

        struct Item {
            int mark;
            int entry;  // 0: no text
        };
        const Item items[] = {{5, 0}, {4, 29}, {3, 30}, {2, 31}};
        double x = 3;
        const double middle = static_cast<double>(ui::roundHalfEven(height / 2));
        for (const Item& item : items) {
            canvas.setStrokeColor(palette.marks[item.mark]);
            const double top = trainer::markBarTop(item.mark, middle - 14, middle + 10);
            for (int e = 1; e <= 4; ++e) {
                canvas.drawLine(QPointF(x + e, top), QPointF(x + e, middle + 10), 1);
            }
            const QString text = item.entry == 0 ? QString() : uiText(item.entry);
            canvas.fillText(QRectF(QPointF(x + 4, middle - 14), QPointF(width, middle + 10)), text,
                            false, 1, ui::Align::Leading, ui::Align::Leading);
            x += 9 + static_cast<double>(ui::roundHalfEven(canvas.textWidth(text)));
        }
    }
    ImageViewer2.setPicture(SharedBitmap);
}
