#include "screens/editor/jump_panel_view.h"

#include "app/controls.h"
#include "app/twips.h"

#include <QLabel>

namespace fav {

JumpPanelView::JumpPanelView(QWidget* parent) : QFrame(parent) {
    SetUpPanel(this, "JumpPanel", 0, Top, Width, Height, "JumpTitle",
               QStringLiteral("Jump to a name:"));
    prefix_ = MakeLabel(this, "JumpPrefix", QString(), Margin, 480, 2400, 480, FontSpec{14, true});
    prefix_->setWordWrap(false);
    for (int row = 0; row < JumpPanel::Rows; ++row) {
        const std::string_view keys = JumpPanel::RowKeys(row);
        for (std::size_t column = 0; column < keys.size(); ++column) {
            const QString name = QStringLiteral("JumpKey%1").arg(QLatin1Char(keys[column]));
            QLabel* key =
                MakeLabel(this, name.toLatin1().constData(), QString(QLatin1Char(keys[column])),
                          Margin + static_cast<int>(column) * KeyPitch, KeyTop + row * RowPitch,
                          KeyPitch - 60, RowPitch - 60, FontSpec{12, true});
            key->setWordWrap(false);
            key->setAlignment(Qt::AlignCenter);
            keys_[static_cast<std::size_t>(row)][column] = key;
        }
    }
    MakeLabel(this, "JumpHelp",
              QStringLiteral("Joystick chooses a key, P1 Start adds it, one action button takes "
                             "the last back. ESC closes."),
              Margin, KeyTop + JumpPanel::Rows * RowPitch + 60, Width - 2 * Margin, 600,
              FontSpec{9.75, true});
    hide();
}

void JumpPanelView::Open(int left, const JumpPanel& panel) {
    PlaceTwips(this, left, Top, Width, Height);
    Show(panel);
    raise();
    show();
}

void JumpPanelView::Show(const JumpPanel& panel) {
    QString prefix = QString::fromStdString(panel.prefix());
    if (prefix.size() < JumpPanel::MaxPrefix) {
        prefix += QLatin1Char('_');
    }
    prefix_->setText(prefix);
    for (int row = 0; row < JumpPanel::Rows; ++row) {
        const auto& keys = keys_[static_cast<std::size_t>(row)];
        for (std::size_t column = 0; column < keys.size(); ++column) {
            if (keys[column] == nullptr) {
                continue;
            }
            const bool on = row == panel.row() && static_cast<int>(column) == panel.column();
            keys[column]->setEnabled(on);
            SetBorder(keys[column], on);
        }
    }
}

} // namespace fav
