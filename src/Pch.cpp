// Translation unit that builds the shared precompiled header.
