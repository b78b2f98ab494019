#pragma once

namespace tarvesh::page::testing {

// Text drawing needs an application object and the page font's substitutes; made once.
void EnsureGuiApplication();

}  // namespace tarvesh::page::testing
