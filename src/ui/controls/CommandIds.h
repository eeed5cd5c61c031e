#pragma once

// Command identifiers of the menu, the toolbar, the accelerators and the tree's context
// menu. The numbers are the program's own and are kept as they are.
enum CommandId : int {
    ID_APP_ABOUT = 32774,            // バージョン情報(&A)...
    ID_OPTIONS = 32775,              // 環境設定(&S)...
    ID_EDIT_RENAME = 32776,          // 名前の変更(&M), the selected tree item
    ID_SEARCH_FIND = 32780,          // 検索(&F)...
    ID_SEARCH_DOWN = 32783,          // 下へ検索(&N)
    ID_SEARCH_UP = 32784,            // 上へ検索(&P)
    ID_VIEW_PROPERTIES = 32786,      // プロパティ(&R), the selected tree item
    ID_FILE_SAVE_DISPLAYED = 32787,  // 表示項目をテキスト形式で保存(&A)...
    ID_FILE_SAVE_SELECTED = 32788,   // 選択項目をテキスト形式で保存(&S)...
    ID_TREE_RENAME = 32789,          // 名前の変更(&M), the context menu's item
    ID_TREE_PROPERTIES = 32790,      // プロパティ(&R), the context menu's item
    ID_APP_EXIT = 57665,             // アプリケーションの終了(&X)
    ID_VIEW_TOOLBAR = 59392,         // ツールバー(&T)
    ID_VIEW_STATUS_BAR = 59393,      // ステータスバー(&S)
};
