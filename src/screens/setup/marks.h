#pragma once

#include <QPixmap>

namespace fav {

// The 24 by 24 pixel marks under each picker column: a small window with a green tick when the
// column's file is found, one with a red cross when it is not.
QPixmap FoundMarkPicture();
QPixmap NotFoundMarkPicture();

} // namespace fav
