// Names of the files in the starter run-time package, shared by its generator and by the
// starter database that names them.
#pragma once

namespace quillon::rtp {

inline constexpr const char* kChipSets[] = {"World", "Town"};                           // ChipSet
inline constexpr const char* kHeroCharSet = "Hero";                                       // CharSet
inline constexpr const char* kCharSets[] = {"Hero", "People", "Creature", "Vehicle"};    // CharSet
inline constexpr const char* kVehicleCharSet = "Vehicle";
inline constexpr const char* kFaceSet1 = "Faces1";                                        // FaceSet
inline constexpr const char* kFaceSet2 = "Faces2";
inline constexpr const char* kSystem = "System";                                          // System
inline constexpr const char* kTitle = "Title";                                            // Title
inline constexpr const char* kGameOver = "GameOver";                                      // GameOver
inline constexpr const char* kBackdrop = "Plains";                                        // Backdrop
inline constexpr const char* kBattleAnimation = "Effects";                                // Battle
inline constexpr const char* kMonsters[] = {"Slime", "Beast"};                           // Monster
inline constexpr const char* kPanorama = "Sky";                                           // Panorama
inline constexpr const char* kPicture = "Scroll";                                         // Picture
inline constexpr const char* kMusic[] = {"Town", "Battle", "Fanfare"};                   // Music (MIDI)
inline constexpr const char* kSounds[] = {"Cursor", "Decision", "Cancel", "Buzzer", "Attack", "Damage"};  // Sound

// Battle animations of the starter database, all drawn from kBattleAnimation.
inline constexpr const char* kAnimations[] = {"Slash", "Thrust", "Claw", "Arrow", "Fire",
                                              "Ice", "Thunder", "Heal", "Poison", "Quake"};

}  // namespace quillon::rtp
