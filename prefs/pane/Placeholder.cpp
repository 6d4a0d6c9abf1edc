// The preference bundle's classes live beside this file.
