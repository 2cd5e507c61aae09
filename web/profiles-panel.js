// The settings profiles: the chosen one in a list, its options with the
// plug-in editor's labels, read from and written to the plug-in's own file.
export class ProfilesPanel {
  constructor(select, optionsBox, optionTable) {
    this.select = select;
    this.optionsBox = optionsBox;
    this.optionTable = optionTable.options;
    this.profiles = [];
    select.addEventListener('change', () => this.showOptions());
  }

  // profiles as the engine reads them: [{name, values: {key: value}}].
  setProfiles(profiles) {
    this.profiles = profiles;
    this.select.replaceChildren(
      ...profiles.map((profile, index) => new Option(profile.name, String(index))),
    );
    this.select.value = '0';
    this.showOptions();
  }

  chosen() {
    return this.profiles[Number(this.select.value)] || null;
  }

  // A profile's value of an option, or the option's default when the file has none.
  valueOf(profile, option) {
    const value = profile.values[option.key];
    return value === undefined ? option.default : value;
  }

  showOptions() {
    const profile = this.chosen();
    if (!profile) {
      this.optionsBox.replaceChildren();
      return;
    }
    const controls = [];
    this.optionTable.forEach((option, index) => {
      if (index === 0 || option.group !== this.optionTable[index - 1].group) controls.push(this.makeHeading(option.group));
      controls.push(this.makeControl(profile, option));
    });
    this.optionsBox.replaceChildren(...controls);
  }

  // The editor's lists each have a heading; the page keeps them.
  makeHeading(text) {
    const heading = document.createElement('h3');
    heading.className = 'option-group';
    heading.textContent = text;
    return heading;
  }

  makeControl(profile, option) {
    const label = document.createElement('label');
    label.className = 'option option-' + option.kind;
    const value = this.valueOf(profile, option);
    if (option.kind === 'check') {
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.name = option.key;
      box.checked = value === true || value === 'true' || value === '1';
      box.addEventListener('change', () => (profile.values[option.key] = box.checked));
      label.append(box, ' ' + option.label);
    } else {
      const choice = document.createElement('select');
      choice.name = option.key;
      option.choices.forEach((text, index) => choice.appendChild(new Option(text, String(index))));
      choice.value = String(Number(value));
      choice.addEventListener('change', () => (profile.values[option.key] = Number(choice.value)));
      label.append(option.label + ' ', choice);
    }
    return label;
  }
}
