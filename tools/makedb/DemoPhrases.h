#pragma once

#include <string_view>
#include <vector>

// The texts of the demo history, in UTF-8; they go into the file as Shift-JIS, so every
// one of them must have a Shift-JIS form.

// A line starts with '<' when the other party writes it and '>' when the owner does.
using Dialogue = std::vector<std::string_view>;

struct UrlPhrase {
    std::string_view description;
    std::string_view address;
};

struct DemoPhrases {
    std::vector<std::string_view> morningGreetings;
    std::vector<std::string_view> dayGreetings;
    std::vector<std::string_view> eveningGreetings;
    std::vector<std::string_view> lateGreetings;
    std::vector<std::string_view> closers;
    std::vector<std::string_view> workGreetings;
    std::vector<std::string_view> workClosers;
    std::vector<std::string_view> englishGreetings;
    std::vector<std::string_view> englishClosers;
    std::vector<Dialogue> friendTalks;
    std::vector<Dialogue> familyTalks;
    std::vector<Dialogue> workTalks;
    std::vector<Dialogue> englishTalks;
    std::vector<UrlPhrase> urls;
    std::vector<std::string_view> chatRequests;
    std::vector<std::string_view> fileRequests;
    std::vector<std::string_view> authRequests;
    std::vector<std::string_view> authorizations;
    std::vector<std::string_view> callRequests;
    std::vector<std::string_view> listNotices;
    std::vector<std::string_view> contacts;
    std::vector<std::string_view> systemNotices;
    std::vector<std::string_view> webPages;
    std::vector<std::string_view> emailExpress;
    std::vector<std::string_view> emails;
    std::vector<std::string_view> unsupported;
    // Pieces that the bulk histories join into texts of a chosen length.
    std::vector<std::string_view> fragments;
};

const DemoPhrases& Phrases();

// Every text above (dialogue lines without their direction mark).
std::vector<std::string_view> AllPhrases();
