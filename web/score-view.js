// The score drawn page by page: a page is asked of the worker when it comes
// into view, and every finding's note on it is coloured once it is drawn.
const PAGE_ASPECT = 2970 / 2100;

export class ScoreView {
  constructor(container, engine, handlers) {
    this.container = container;
    this.engine = engine;
    this.handlers = handlers;
    this.pages = [];
    this.findings = [];
    this.findingsByPage = new Map();
    this.rowStates = [];
    this.selected = -1;
    this.generation = 0;
    this.observer = new IntersectionObserver((entries) => this.onVisible(entries), {
      root: container,
      rootMargin: '300px 0px',
    });
    container.addEventListener('click', (event) => this.onClick(event));
  }

  // A new layout of pageCount pages; the drawn pages of an earlier one are dropped.
  reset(pageCount) {
    this.generation++;
    this.observer.disconnect();
    this.findings = [];
    this.findingsByPage = new Map();
    this.rowStates = [];
    this.selected = -1;
    this.pages = [];
    const fragment = document.createDocumentFragment();
    for (let number = 1; number <= pageCount; number++) {
      const page = document.createElement('div');
      page.className = 'page';
      page.dataset.page = String(number);
      page.style.aspectRatio = String(1 / PAGE_ASPECT);
      this.pages.push({ element: page, drawn: null });
      fragment.appendChild(page);
    }
    this.container.replaceChildren(fragment);
    this.container.scrollTop = 0;
    for (const page of this.pages) this.observer.observe(page.element);
  }

  // findings with their page; rowStates[i].checked says how note i is coloured.
  setFindings(findings, rowStates) {
    this.findings = findings;
    this.rowStates = rowStates;
    this.selected = -1;
    this.findingsByPage = new Map();
    findings.forEach((finding, index) => {
      if (!this.findingsByPage.has(finding.page)) this.findingsByPage.set(finding.page, []);
      this.findingsByPage.get(finding.page).push(index);
    });
    this.recolourAll();
  }

  onVisible(entries) {
    for (const entry of entries) {
      if (entry.isIntersecting) this.draw(Number(entry.target.dataset.page));
    }
  }

  // Draws a page once; answers when it is in the document.
  draw(number) {
    const page = this.pages[number - 1];
    if (!page) return Promise.resolve();
    if (!page.drawn) {
      const generation = this.generation;
      page.drawn = this.engine.request('render', { page: number }).then((svg) => {
        if (generation !== this.generation) return;
        page.element.innerHTML = svg;
        page.element.style.aspectRatio = '';
        page.element.classList.add('drawn');
        this.colourPage(number);
        this.handlers.onPageDrawn(number);
      });
    }
    return page.drawn;
  }

  noteElement(noteIndex, pageNumber) {
    const page = this.pages[pageNumber - 1];
    if (!page || noteIndex < 0) return null;
    return page.element.querySelector('[id="rzn-' + noteIndex + '"]');
  }

  colourPage(number) {
    const page = this.pages[number - 1].element;
    for (const element of page.querySelectorAll('.rz-checked, .rz-unchecked, .rz-selected, .rz-reference')) {
      element.classList.remove('rz-checked', 'rz-unchecked', 'rz-selected', 'rz-reference');
      delete element.dataset.finding;
    }
    // The first finding of a note names it; the note shows checked when any of its findings is.
    const onPage = this.findingsByPage.get(number) || [];
    for (let position = onPage.length - 1; position >= 0; position--) {
      const index = onPage[position];
      const finding = this.findings[index];
      const note = this.noteElement(finding.noteIndex, number);
      if (!note) continue;
      const checkedElsewhere = note.dataset.finding !== undefined && note.classList.contains('rz-checked');
      const checked = this.rowStates[index].checked || checkedElsewhere;
      note.dataset.finding = String(index);
      note.classList.toggle('rz-checked', checked);
      note.classList.toggle('rz-unchecked', !checked);
    }
    this.markSelected();
  }

  recolourAll() {
    this.pages.forEach((page, index) => {
      if (page.element.classList.contains('drawn')) this.colourPage(index + 1);
    });
  }

  markSelected() {
    for (const element of this.container.querySelectorAll('.rz-selected, .rz-reference')) {
      element.classList.remove('rz-selected', 'rz-reference');
    }
    const finding = this.findings[this.selected];
    if (!finding) return;
    this.noteElement(finding.noteIndex, finding.page)?.classList.add('rz-selected');
    this.noteElement(finding.relatedNoteIndex, finding.relatedPage)?.classList.add('rz-reference');
  }

  // Scrolls to a finding's note, drawing its page (and its reference note's) first.
  async select(index) {
    this.selected = index;
    const finding = this.findings[index];
    if (!finding) return;
    await Promise.all([this.draw(finding.page), this.draw(finding.relatedPage)]);
    if (this.selected !== index) return;
    this.markSelected();
    const note = this.noteElement(finding.noteIndex, finding.page);
    if (note) note.scrollIntoView({ block: 'center', inline: 'center' });
    else this.pages[finding.page - 1]?.element.scrollIntoView({ block: 'start' });
  }

  onClick(event) {
    const note = event.target.closest('g.note[data-finding]');
    if (note) this.handlers.onNoteClicked(Number(note.dataset.finding));
  }
}
