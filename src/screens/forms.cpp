#include "app/app.h"
#include "screens/controls/controls_screen.h"
#include "screens/delete/form6.h"
#include "screens/editor/form7.h"
#include "screens/error/form5.h"
#include "screens/favourites_menu/form2.h"
#include "screens/keyboard/form3.h"
#include "screens/setup/form1.h"
#include "screens/verify/form4.h"

namespace fav {

Form* CreateForm(App& app, FormId id) {
    switch (id) {
    case FormId::Form1:
        return new Form1(app);
    case FormId::Form2:
        return new Form2(app);
    case FormId::Form3:
        return new Form3(app);
    case FormId::Form4:
        return new Form4(app);
    case FormId::Form5:
        return new Form5(app);
    case FormId::Form6:
        return new Form6(app);
    case FormId::Form7:
        return new Form7(app);
    case FormId::Controls:
        return new ControlsScreen(app);
    }
    return nullptr;
}

} // namespace fav
