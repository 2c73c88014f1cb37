#include "server/bonjour/BonjourAnnouncement.h"

#include "remote/BonjourService.h"

BonjourAnnouncement::BonjourAnnouncement(const std::string& libraryFile)
    : m_library(libraryFile), m_registration(m_library) {}

int BonjourAnnouncement::Announce(uint16_t port) {
    return m_registration.Register(bonjour::kServiceType, port);
}
