#include "screens/editor/filter_panel_view.h"

#include "app/controls.h"

#include <QLabel>

namespace fav {

namespace {

// In twips: margins, the title, the rows and the help below them.
constexpr int Margin = 120;
constexpr int RowsTop = 480;
constexpr int RowPitch = 360;
constexpr int CountWidth = 1080;
constexpr int HelpTop = RowsTop + FilterPanel::PageRows * RowPitch + 60;

} // namespace

FilterPanelView::FilterPanelView(QWidget* parent, int left, int top) : QFrame(parent) {
    SetUpPanel(this, "FilterPanel", left, top, Width, Height, "FilterTitle",
               QStringLiteral("Show the games of:"));
    constexpr int TextWidth = Width - 2 * Margin - CountWidth;
    for (int row = 0; row < FilterPanel::PageRows; ++row) {
        const auto at = static_cast<std::size_t>(row);
        const int y = RowsTop + row * RowPitch;
        texts_[at] =
            MakeLineLabel(this, QStringLiteral("FilterLine%1").arg(row).toLatin1().constData(),
                          Margin, y, TextWidth, RowPitch - 15, FontSpec{9.75, true});
        counts_[at] = MakeLabel(
            this, QStringLiteral("FilterCount%1").arg(row).toLatin1().constData(), QString(),
            Margin + TextWidth, y, CountWidth, RowPitch - 15, FontSpec{9.75, true});
        counts_[at]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counts_[at]->setWordWrap(false);
    }
    noFiles_ = MakeLabel(this, "FilterNoFiles",
                         QStringLiteral("To choose games by category, put MAME's folder lists "
                                        "(such as \"Working Arcade Clean.ini\") and catver.ini "
                                        "in a folder named \"folders\" beside Favorizer or beside "
                                        "mame.map."),
                         Margin, RowsTop + 3 * RowPitch, Width - 2 * Margin, 4 * RowPitch,
                         FontSpec{9.75, true});
    MakeLabel(this, "FilterHelp",
              QStringLiteral("Joystick up and down chooses, action buttons page, P1 Start "
                             "takes it. ESC closes."),
              Margin, HelpTop, Width - 2 * Margin, Height - HelpTop - Margin, FontSpec{9.75, true});
    hide();
}

void FilterPanelView::Show(const FilterPanel& panel,
                           const std::function<Row(const FilterPanel::Line&)>& row, bool noFiles) {
    for (int shown = 0; shown < FilterPanel::PageRows; ++shown) {
        const auto at = static_cast<std::size_t>(shown);
        const int index = panel.top() + shown;
        const bool used = index < panel.size();
        const Row text = used ? row(panel.line(index)) : Row{};
        texts_[at]->setText(text.text);
        counts_[at]->setText(text.count);
        texts_[at]->setVisible(used);
        counts_[at]->setVisible(used);
        SetBorder(texts_[at], used && index == panel.cursor());
    }
    noFiles_->setVisible(noFiles);
}

} // namespace fav
