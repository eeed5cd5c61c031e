#include "makedb/DemoPhrases.h"

namespace {

DemoPhrases MakePhrases() {
    DemoPhrases p;
    p.morningGreetings = {"おはよう！", "おはようございます。", "おはよー、起きてる？",
                          "朝からごめんね。"};
    p.dayGreetings = {"こんにちは！", "やっほー", "今ちょっといい？", "お疲れさま！", "ねえねえ"};
    p.eveningGreetings = {"こんばんは！", "こんばんはー", "今ひま？", "お疲れー、もう家？"};
    p.lateGreetings = {"遅くにごめん、起きてる？", "まだ起きてる？", "眠れないー"};
    p.closers = {"じゃあまたね！",   "おやすみなさい",     "おやすみー",
                 "また連絡するね。", "了解、ありがとう！", "それじゃ、また明日！"};
    p.workGreetings = {"お疲れさまです。", "お世話になっております。", "今よろしいですか？"};
    p.workClosers = {"よろしくお願いします。", "お疲れさまでした。", "承知しました。"};
    p.englishGreetings = {"Hi!", "Hey, are you there?", "Good morning!", "Hello from London!"};
    p.englishClosers = {"Talk soon!", "Bye for now.", "Good night!", "See you, take care."};

    p.friendTalks = {
        {"<今週末ってあいてる？", ">土曜ならあいてるよ", "<映画見に行かない？新作のやつ",
         ">いいね！何時にする？", "<14時に駅の改札でどう？", ">了解！"},
        {"<昨日の飲み会楽しかったね", ">ほんとに！久しぶりにみんなに会えてよかった",
         "<次は夏にバーベキューしたいな", ">賛成。場所探しておくよ"},
        {">ラーメン屋さん、結局どこにした？", "<駅前の新しいところ！",
         "<とんこつがすごく濃厚でおいしかった", ">今度連れてって", "<もちろん"},
        {"<ねえ、来月の旅行の件なんだけど", "<京都と奈良、どっちがいい？",
         ">京都かな。紅葉の季節だし", "<じゃあ宿を探してみるね",
         "<候補はこの3つ\r\n1. 駅近のビジネスホテル\r\n2. 嵐山の旅館\r\n3. 町家の一棟貸し",
         ">2がいいな！温泉あるし", "<了解、予約しちゃうね"},
        {">明日の集合時間って何時だっけ？", "<9時半だよ。遅れないでね", ">がんばって起きる…"},
        {"<誕生日おめでとう！", ">ありがとう！覚えててくれたんだ",
         "<当たり前じゃん。プレゼント送ったから届いたら教えてね", ">楽しみにしてる！"},
        {"<今日のサッカー見た？", ">見た見た！最後のゴールすごかった", "<延長までもつれたね",
         ">心臓に悪いよ"},
        {">この前貸した本、どうだった？", "<まだ半分くらい。でもすごく面白い",
         "<週末に読み終わると思う", ">ゆっくりでいいよ"},
        {"<ごめん、今日ちょっと遅れる", "<電車が止まってて", ">了解、カフェで待ってるね",
         "<ありがとう、30分くらいで着くと思う"},
        {"<新しいスマホ買ったよ", ">いいなあ。どこの？", "<カメラがきれいなやつ",
         "<夜景もちゃんと撮れる", ">今度写真見せて"},
        {">週末の天気どうだろう", "<土曜は雨みたい。日曜は晴れるって",
         ">じゃあ山登りは日曜にしようか", "<そうしよう。お弁当作っていくね"},
        {"<ゲームのイベント始まったね", ">もう参加した！今回のボス強すぎない？",
         "<今夜一緒にやろうよ", ">22時からならいけるよ"},
        {"<引っ越し手伝ってくれてありがとう！", ">どういたしまして。片付け進んだ？",
         "<まだ段ボールだらけ", "<落ち着いたら遊びに来てね", ">行く行く！"},
        {">最近何してる？", "<仕事が忙しくて、家と会社の往復ばっかり", ">たまには息抜きしないとね",
         "<ほんとそれ。来月休み取るつもり"},
        {"<レシピ送るね\r\n材料：鶏もも肉、玉ねぎ、しょうゆ、みりん、砂糖\r\n"
         "玉ねぎを炒めてから鶏肉を入れて、調味料で煮るだけ！",
         ">ありがとう、今夜作ってみる"},
        {"<ライブのチケット取れた！", ">すごい！倍率高かったでしょ",
         "<奇跡的に当たった。一緒に行こう", ">絶対行く！"},
    };
    p.familyTalks = {
        {"<ちゃんとご飯食べてる？", ">食べてるよ、心配しないで", "<たまには帰ってきなさいね",
         ">お盆には帰るよ"},
        {"<荷物送ったから受け取ってね", "<お米と野菜が入ってます", ">ありがとう！助かる"},
        {">お父さんの誕生日、何がいいかな", "<お酒がいいんじゃない？", "<日本酒が好きだから",
         ">じゃあ地元のお酒を探してみる"},
        {"<明日から寒くなるって", "<風邪ひかないようにね", ">うん、気をつける"},
        {"<おばあちゃんが会いたがってたよ", ">来月の連休に顔を出すね", "<喜ぶと思うわ"},
    };
    p.workTalks = {
        {"<お疲れさまです。明日の会議資料、確認いただけましたか？",
         ">お疲れさまです。確認しました。2点だけコメントを入れておきます",
         "<ありがとうございます。修正して再送します"},
        {">すみません、本日の打ち合わせ、10分ほど遅れます", "<承知しました。先に始めておきます"},
        {"<例の見積もり、先方からOKが出ました", ">よかったです！ありがとうございます",
         "<来週から作業開始でお願いします"},
        {"<サーバーの件、再起動で直りました", ">原因はわかりましたか？",
         "<ログを見る限り、メモリ不足のようです", ">了解です。増設を検討しましょう"},
        {">今日の進捗です\r\n・画面設計：完了\r\n・API実装：8割\r\n・テスト：未着手",
         "<ありがとうございます。順調ですね"},
        {"<明日は在宅勤務になります", ">了解しました。何かあればこちらで連絡します"},
        {"<来期の予算案、共有フォルダに置きました", ">拝見します",
         ">人件費の項目だけ確認させてください", "<はい、いつでもどうぞ"},
    };
    p.englishTalks = {
        {"<Are you still coming to Tokyo next month?", ">Yes! I land on the 12th.",
         "<Great, let's have dinner. I know a good sushi place.", ">Sounds perfect."},
        {"<How do you say \"thank you\" politely in Japanese?", ">ありがとうございます",
         "<Arigatou gozaimasu. Got it!"},
        {">Did you get the photos I sent?", "<Yes, they look amazing.",
         "<The one from the temple is my favourite."},
        {"<Quick question about the project deadline", "<Is it Friday or Monday?",
         ">Friday, end of day.", "<OK, thanks!"},
        {"<Happy new year!", ">Happy new year! あけましておめでとう！",
         "<Hope this year is a good one for you."},
        {">I'm learning English with a podcast every morning.", "<Nice! Which one?",
         ">A slow news show. It really helps.", "<Keep it up!"},
    };
    p.urls = {
        {"この記事おもしろいよ", "https://example.com/news/2023/weekend-trip"},
        {"さっき話してたお店", "https://example.com/gourmet/ramen/shinjuku"},
        {"旅館の予約ページ", "https://example.jp/travel/kyoto/arashiyama"},
        {"会議資料はこちらです", "https://example.org/share/meeting-notes"},
        {"天気予報", "https://example.com/weather/tokyo"},
        {"Check this out", "https://example.com/blog/learning-japanese"},
        {"ライブの公式サイト", "https://example.net/live/tour-2024"},
        {"", "https://example.com/photos/album?id=1024"},
    };
    p.chatRequests = {"チャットしませんか？", "ちょっと話せる？", "Let's chat!"};
    p.fileRequests = {"旅行の写真です\r\nkyoto_photos.zip", "資料を送ります\r\nestimate_v2.pdf",
                      "この前の動画！\r\nparty.mp4", "report.xlsx"};
    p.authRequests = {"はじめまして。リストに追加させてください。",
                      "同じサークルの者です。よろしくお願いします！",
                      "Hi, we met at the conference. Please add me.", "追加お願いします"};
    p.authorizations = {"認可しました", "よろしくお願いします！", ""};
    p.callRequests = {"音声通話のリクエスト", "ビデオ通話しませんか？"};
    p.listNotices = {"あなたをコンタクトリストに追加しました", ""};
    p.contacts = {"連絡先を送ります\r\n鈴木 大輔 345612\r\n高橋 さくら 7788990",
                  "この人も追加してあげて\r\n山本 愛 55123456"};
    p.systemNotices = {"サーバーメンテナンスのお知らせ\r\n本日2時から5時まで接続できなくなります。",
                       "新しいバージョンが公開されました。", "パスワードの変更が完了しました。",
                       "同じ番号で別の場所から接続されたため、切断されました。"};
    p.webPages = {
        "Webページからのメッセージ\r\n名前：ゲスト\r\nはじめまして、サイトを見て連絡しました。",
        "Webページからのメッセージ\r\n名前：Mike\r\nHello from your homepage!"};
    p.emailExpress = {
        "From: info@example.com\r\n件名：ご注文の確認\r\nご注文ありがとうございます。",
        "From: friend@example.net\r\n件名：写真\r\n届いてる？"};
    p.emails = {"件名：同窓会のご案内\r\n来月の第二土曜日に同窓会を開きます。",
                "Subject: Newsletter\r\nThis month's updates are inside.",
                "件名：お問い合わせの件\r\n担当者より改めてご連絡いたします。"};
    p.unsupported = {"(不明なイベント)", "unknown", ""};
    p.fragments = {
        "今日は",     "明日の",     "会議",       "ランチ",     "映画",     "駅前で", "待ち合わせ",
        "よろしくね", "ありがとう", "了解です",   "楽しかった", "また今度", "写真",   "送ります",
        "週末",       "天気",       "雨",         "晴れ",       "電車",     "遅れる", "ごめん",
        "お疲れさま", "ラーメン",   "旅行",       "京都",       "東京",     " OK ",   " see you ",
        " thanks ",   " meeting ",  " tomorrow ", "、",         "。",       "！",     "？",
        "ね",         "よ",         "かな",       "だよ",       "です",     "ます",   "した",
        " 123 ",      " 2024 ",
    };
    return p;
}

void AddAll(std::vector<std::string_view>& out, const std::vector<std::string_view>& texts) {
    out.insert(out.end(), texts.begin(), texts.end());
}

void AddDialogues(std::vector<std::string_view>& out, const std::vector<Dialogue>& talks) {
    for (const Dialogue& talk : talks) {
        for (std::string_view line : talk) {
            out.push_back(line.substr(1));
        }
    }
}

}  // namespace

const DemoPhrases& Phrases() {
    static const DemoPhrases phrases = MakePhrases();
    return phrases;
}

std::vector<std::string_view> AllPhrases() {
    const DemoPhrases& p = Phrases();
    std::vector<std::string_view> all;
    for (const auto* list :
         {&p.morningGreetings, &p.dayGreetings,  &p.eveningGreetings, &p.lateGreetings,
          &p.closers,          &p.workGreetings, &p.workClosers,      &p.englishGreetings,
          &p.englishClosers,   &p.chatRequests,  &p.fileRequests,     &p.authRequests,
          &p.authorizations,   &p.callRequests,  &p.listNotices,      &p.contacts,
          &p.systemNotices,    &p.webPages,      &p.emailExpress,     &p.emails,
          &p.unsupported,      &p.fragments}) {
        AddAll(all, *list);
    }
    for (const auto* talks : {&p.friendTalks, &p.familyTalks, &p.workTalks, &p.englishTalks}) {
        AddDialogues(all, *talks);
    }
    for (const UrlPhrase& url : p.urls) {
        all.push_back(url.description);
        all.push_back(url.address);
    }
    return all;
}
