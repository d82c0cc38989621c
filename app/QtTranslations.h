#pragma once

// Qt's own texts (the file dialogs, the standard buttons) in Brazilian
// Portuguese, whatever the system's language, as every text of the
// program is. Once per application; later calls do nothing.
void installQtTranslations();
