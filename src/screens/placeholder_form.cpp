#include "screens/placeholder_form.h"

#include "app/app.h"
#include "app/product.h"

#include <QLabel>

namespace fav {

PlaceholderForm::PlaceholderForm(App& app, FormId id, const QString& caption)
    : Form(app, id, caption, 9120, 8535) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(20, 20, 400, 40);
}

void PlaceholderForm::Form_Activate() {
    if (id() == FormId::Form2) {
        app_.shared.SetupRequested = True;
    }
}

void PlaceholderForm::Form_KeyDown(int& keyCode) {
    if (keyCode != 27) {
        return;
    }
    keyCode = 0;
    if (id() == FormId::Form2) {
        app_.windows().UnloadAll();
        return;
    }
    app_.windows().Unload(id());
    if (id() != FormId::Form5) {
        app_.windows().Show(FormId::Form2);
    }
}

} // namespace fav
